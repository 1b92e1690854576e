#include "ide/sync/LocalReport.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

TEST(LocalReportDocument, SlugJoinsLowerCaseWordsAndKeepsEdgeDashes)
{
    EXPECT_EQ(utf8(LocalReport::slug(u"Q4 Enterprise Demand Gen — 30d Attribution Report"_s)),
        "q4-enterprise-demand-gen-30d-attribution-report");
    EXPECT_EQ(utf8(LocalReport::slug(u"...Launch!"_s)), "-launch-");
    EXPECT_EQ(utf8(LocalReport::slug(u""_s)), "");
    EXPECT_EQ(utf8(LocalReport::fileName(u""_s)), "report.html");
    EXPECT_EQ(utf8(LocalReport::fileName(u"週次レポート"_s)), "report.html");
    EXPECT_EQ(LocalReport::fileName(QString(500, u'a')), QString(80, u'a') + u".html"_s);
    // Nothing of a title can leave the reports folder.
    EXPECT_EQ(utf8(LocalReport::fileName(u"../../etc/passwd"_s)), "-etc-passwd.html");
    EXPECT_EQ(utf8(LocalReport::displayPath(u"~/Documents/Orvane"_s, u"Exec Summary"_s)),
        "~/Documents/Orvane/reports/exec-summary.html");
}

// Title and kind go in as text, never as markup; the kind is upper-cased first, so the entities
// keep their names.
TEST(LocalReportDocument, HasTheThirtySevenLinesWithTheKindAndTitleAsText)
{
    const QString html = LocalReport::html(u"Q2 <script>x</script> & \"co\""_s, u"a&b<i>"_s, u"~/R&D <x>"_s);
    const QStringList lines = html.split(u'\n');
    ASSERT_EQ(lines.size(), 37);
    EXPECT_FALSE(html.endsWith(u'\n'));
    EXPECT_EQ(utf8(lines.at(0)), "<!doctype html>");
    EXPECT_EQ(utf8(lines.at(3)), "  <meta charset=\"utf-8\" />");
    EXPECT_EQ(utf8(lines.at(18)),
        "  <span class=\"badge\">ORVANE LOCAL &amp; CLOUD ATTRIBUTION REPORT · A&amp;B&lt;I&gt;</span>");
    EXPECT_EQ(utf8(lines.at(19)), "  <h1>Q2 &lt;script&gt;x&lt;/script&gt; &amp; &quot;co&quot;</h1>");
    EXPECT_EQ(utf8(lines.at(20)),
        "  <p style=\"color:#94A3B8;\">Generated locally in "
        "~/R&amp;D &lt;x&gt;/reports/q2-script-x-script-co-.html</p>");
    EXPECT_EQ(utf8(lines.at(22)),
        "    <div class=\"card\"><div class=\"label\">Attributed Pipeline</div><div "
        "class=\"val\">$412,000</div></div>");
    EXPECT_EQ(utf8(lines.at(32)),
        "      <tr><td>X Operator Reach</td><td>$4,500</td><td>24</td><td>$187</td><td>$24,500</td></tr>");
    EXPECT_EQ(utf8(lines.at(36)), "</html>");
}

class LocalReportTest : public WorkspaceModelTest {
protected:
    void SetUp() override { model = makeModel(); }
    void TearDown() override { model.reset(); }

    QString reportsFolder() const { return workspaceRoot() + u"/reports"_s; }

    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

TEST_F(LocalReportTest, WritesListsAndSelectsTheReport)
{
    QSignalSpy reportsChanged(model.get(), &CampaignIDEWorkspaceModel::reportsChanged);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);

    model->createLocalReport(u"Q4 Enterprise Demand Gen — 30d Attribution Report"_s, u"attribution"_s);
    model->flushPendingWrites();

    const QString path = reportsFolder() + u"/q4-enterprise-demand-gen-30d-attribution-report.html"_s;
    EXPECT_EQ(readAll(path),
        LocalReport::html(
            u"Q4 Enterprise Demand Gen — 30d Attribution Report"_s, u"attribution"_s, model->shownWorkspaceRoot())
            .toUtf8());
    ASSERT_EQ(model->reports().size(), 1);
    const ReportArtifact &report = model->reports().first();
    EXPECT_TRUE(QRegularExpression(u"\\A[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\z"_s).match(report.id).hasMatch());
    EXPECT_EQ(utf8(report.title), "Q4 Enterprise Demand Gen — 30d Attribution Report");
    EXPECT_EQ(utf8(report.kind), "attribution");
    EXPECT_FALSE(report.domain);
    EXPECT_FALSE(report.updatedAt);
    EXPECT_EQ(QUrl(report.url).toLocalFile(), path);
    EXPECT_TRUE(report.url.startsWith(u"file:///"_s));
    // ISO-8601 internet date-time in UTC without fractional seconds.
    EXPECT_TRUE(
        QRegularExpression(u"\\A\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\\z"_s).match(report.createdAt).hasMatch())
        << utf8(report.createdAt);
    EXPECT_GE(QDateTime::fromString(report.createdAt, Qt::ISODate), before);
    EXPECT_EQ(model->selectedReport(), report);
    EXPECT_GE(reportsChanged.size(), 1);
    EXPECT_EQ(utf8(model->statusNotice().value_or(QString())),
        "Generated report & saved to ~/Documents/Orvane/reports/q4-enterprise-demand-gen-30d-attribution-report.html");
}

// A report never overwrites a file: a name already taken gets a number, which the report names.
TEST_F(LocalReportTest, PutsTheNewestFirstAndNeverOverwritesAFile)
{
    model->createLocalReport(u"Exec Summary"_s, u"attribution"_s);
    model->createLocalReport(u"Weekly"_s, u"attribution"_s);
    model->createLocalReport(u"exec  summary"_s, u"lift"_s);
    model->createLocalReport(u"週次"_s, u"lift"_s);
    model->createLocalReport(u"月次"_s, u"lift"_s);
    model->flushPendingWrites();

    ASSERT_EQ(model->reports().size(), 5);
    EXPECT_EQ(utf8(model->reports().at(2).title), "exec  summary");
    EXPECT_EQ(utf8(model->reports().at(3).title), "Weekly");
    EXPECT_EQ(utf8(model->reports().at(4).title), "Exec Summary");
    EXPECT_EQ(model->selectedReport(), model->reports().first());
    EXPECT_EQ(QDir(reportsFolder()).entryList(QDir::Files),
        (QStringList { u"exec-summary-2.html"_s, u"exec-summary.html"_s, u"report-2.html"_s, u"report.html"_s,
            u"weekly.html"_s }));
    for (const ReportArtifact &report : model->reports()) {
        const QByteArray html = readAll(QUrl(report.url).toLocalFile());
        EXPECT_TRUE(html.contains(QByteArray("<h1>" + report.title.toUtf8() + "</h1>"))) << utf8(report.url);
        EXPECT_TRUE(html.contains(QByteArray(QFileInfo(QUrl(report.url).toLocalFile()).fileName().toUtf8() + "</p>")));
    }
}

TEST_F(LocalReportTest, AReportThatCannotBeWrittenIsNeitherListedNorAnnounced)
{
    // A file where the reports folder should be: the folder cannot be made, even as the superuser.
    ASSERT_TRUE(writeAll(reportsFolder(), "not a folder"));
    model->createLocalReport(u"Exec Summary"_s, u"attribution"_s);
    model->flushPendingWrites();

    EXPECT_TRUE(model->reports().isEmpty());
    EXPECT_FALSE(model->selectedReport());
    const QString notice = model->statusNotice().value_or(QString());
    EXPECT_TRUE(notice.startsWith(u"Failed to generate report ~/Documents/Orvane/reports/exec-summary.html: "_s))
        << utf8(notice);
    EXPECT_FALSE(notice.contains(u"Generated report"_s));
    EXPECT_EQ(readAll(reportsFolder()), "not a folder");

    // A report already listed stays listed and selected when a later one fails.
    ASSERT_TRUE(QFile::remove(reportsFolder()));
    model->createLocalReport(u"Exec Summary"_s, u"attribution"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(writeAll(reportsFolder() + u"/x"_s, ""));
    ASSERT_TRUE(QFile::rename(reportsFolder(), reportsFolder() + u"-moved"_s));
    ASSERT_TRUE(writeAll(reportsFolder(), "not a folder"));
    model->createLocalReport(u"Weekly"_s, u"attribution"_s);
    model->flushPendingWrites();
    ASSERT_EQ(model->reports().size(), 1);
    EXPECT_EQ(utf8(model->selectedReport()->title), "Exec Summary");
}

TEST_F(LocalReportTest, EditorBindingsSelectByNameAndEditTheSelectedFile)
{
    model->openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    model->flushPendingWrites();
    ASSERT_FALSE(model->localFiles().isEmpty());

    model->setSelectedLocalFileName(u"execution-rules.md"_s);
    EXPECT_EQ(utf8(model->selectedLocalFileName()), "execution-rules.md");
    model->setSelectedLocalFileName(u"Execution-Rules.md"_s); // exact case only
    model->setSelectedLocalFileName(u"missing.md"_s);
    EXPECT_EQ(utf8(model->selectedLocalFileName()), "execution-rules.md");

    model->setLocalFileEditorContent(u"# Rules\n"_s);
    EXPECT_EQ(utf8(model->localFileEditorContent()), "# Rules\n");
    EXPECT_TRUE(model->selectedLocalFile()->isModified);
    // Nothing reaches the disk before the file is saved.
    EXPECT_NE(readAll(projectFile(model->selectedProject()->slug(), u"execution-rules.md"_s)), "# Rules\n");
}

} // namespace
} // namespace orvane::test

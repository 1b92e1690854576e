#include "WorkbenchViewFixture.h"

#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/workbench/CampaignPlanDocumentView.h"
#include "ide/views/workbench/DefaultPlanMarkdown.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace orvane::workbenchtest {
namespace {

class PlanDocumentTest : public WorkbenchViewTest {
protected:
    void SetUp() override
    {
        WorkbenchViewTest::SetUp();
        threadID = openThread({ row(u"LI_Flight"_s, 250, 175), row(u"GS_Flight"_s, 1250, 145.5) });
        view = show<CampaignPlanDocumentView>();
    }
    [[nodiscard]] CampaignIDEProject selected() const { return *model->selectedProject(); }
    [[nodiscard]] QString text(const QString &name) const
    {
        if (auto *wrapping = view->findChild<WrappingLabel *>(name))
            return wrapping->text();
        auto *label = find<QLabel>(name);
        return label ? label->text() : QString();
    }
    [[nodiscard]] SummaryStatTile *tile(const QString &name) const { return find<SummaryStatTile>(name); }

    QUuid threadID;
    CampaignPlanDocumentView *view = nullptr;
};

TEST_F(PlanDocumentTest, TheStructuredEditorShowsThePlanTotalsAndTracking)
{
    const CampaignIDEProject project = selected();
    EXPECT_EQ(text(u"planKickerLabel"_s), u"CAMPAIGN PLAN DOCUMENT · "_s + project.slug().toUpper());
    EXPECT_EQ(text(u"planTitleLabel"_s), project.name);
    EXPECT_EQ(find<QLineEdit>(u"campaignNameField"_s)->text(), project.name);
    EXPECT_EQ(find<QLineEdit>(u"monthlyBudgetField"_s)->text(), project.budget());
    EXPECT_EQ(find<QPlainTextEdit>(u"objectiveEditor"_s)->toPlainText(), project.objective);
    EXPECT_EQ(find<QPlainTextEdit>(u"audienceEditor"_s)->toPlainText(), project.audience);

    auto *link = find<QAbstractButton>(u"openMediaPlanTableButton"_s);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->findChild<QLabel *>()->text(), u"Open Full Media Plan Table (2 rows) →"_s);
    EXPECT_EQ(tile(u"plannedSpendTile"_s)->value(), u"$45,000"_s);
    EXPECT_EQ(tile(u"plannedSpendTile"_s)->sublabel(), u"$1500/day across 2 flights"_s);
    EXPECT_EQ(tile(u"targetCpaTile"_s)->value(), u"$160"_s); // the plain mean 160.25, truncated
    EXPECT_EQ(tile(u"targetCpaTile"_s)->sublabel(),
        QString::number(thread(threadID).totalEstimatedConversions()) + u" est. SQLs / month"_s);
    EXPECT_EQ(tile(u"creativeArtboardsTile"_s)->value(), QString::number(project.creatives.size()) + u" Variants"_s);
    EXPECT_EQ(tile(u"creativeArtboardsTile"_s)->sublabel(),
        QString::number(project.approvedCreativeCount()) + u" approved for launch"_s);

    model->mutateThread(threadID, [](CampaignIDEThread &t) {
        t.utmSource.clear();
        t.utmMedium = u"cpc"_s;
        t.utmCampaign = u"q3 launch&x"_s;
    });
    EXPECT_EQ(find<WrappingLabel>(u"utmPreviewLabel"_s)->text(),
        u"?utm_source=&utm_medium=cpc&utm_campaign=q3 launch&x&utm_content={{creative_id}}"_s);
    EXPECT_EQ(text(u"trackingSealLabel"_s), u"Conversions API & UTMs Verified"_s);
    keepPicture(u"plan-document-structured.png"_s);

    click(u"openMediaPlanTableButton"_s);
    EXPECT_EQ(thread(threadID).workbenchView, IDEWorkbenchView::table);
}

// The name and the budget commit when editing finishes (Return, or the focus leaves), never per
// keystroke: the project's folder follows its name. The other fields write through as typed.
TEST_F(PlanDocumentTest, NameAndBudgetCommitWhenEditingFinishes)
{
    const QString oldName = selected().name;
    auto *name = find<QLineEdit>(u"campaignNameField"_s);
    ASSERT_NE(name, nullptr);
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, u"Q4 Push"_s);
    EXPECT_EQ(selected().name, oldName);
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(selected().name, u"Q4 Push"_s);
    EXPECT_EQ(selected().updated, u"Just now"_s);
    EXPECT_EQ(find<QLineEdit>(u"campaignNameField"_s), name);
    EXPECT_EQ(text(u"planTitleLabel"_s), u"Q4 Push"_s);
    model->flushPendingWrites();
    EXPECT_EQ(QDir(workspaceRoot()).entryList({ u"q"_s, u"q4*"_s }, QDir::Dirs).filter(u"q4-p"_s),
        QStringList { u"q4-push"_s });

    // Only the amount of the channels text changes; text that is no amount is refused.
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.channelsAndBudget = u"Meta · $5,000 flight"_s; });
    auto *budget = find<QLineEdit>(u"monthlyBudgetField"_s);
    budget->setFocus();
    budget->selectAll();
    QTest::keyClicks(budget, u"90000"_s);
    EXPECT_EQ(selected().channelsAndBudget, u"Meta · $5,000 flight"_s);
    auto *objective = find<QPlainTextEdit>(u"objectiveEditor"_s);
    objective->setFocus();
    EXPECT_EQ(selected().channelsAndBudget, u"Meta · $90000 flight"_s);
    budget->setFocus();
    budget->selectAll();
    QTest::keyClicks(budget, u"lots"_s);
    QTest::keyClick(budget, Qt::Key_Return);
    EXPECT_EQ(selected().channelsAndBudget, u"Meta · $90000 flight"_s);
    EXPECT_EQ(budget->text(), u"$90000"_s);
    EXPECT_TRUE(model->statusNotice().value_or(QString()).startsWith(u"The monthly budget must be an amount"_s));

    objective->selectAll();
    QTest::keyClicks(objective, u"More SQLs"_s);
    EXPECT_EQ(selected().objective, u"More SQLs"_s);
    EXPECT_EQ(selected().updated, u"Now"_s);
    auto *audience = find<QPlainTextEdit>(u"audienceEditor"_s);
    audience->setFocus();
    audience->selectAll();
    QTest::keyClicks(audience, u"CFOs"_s);
    EXPECT_EQ(selected().audience, u"CFOs"_s);
    model->flushPendingWrites();
    EXPECT_TRUE(test::readAll(projectFile(selected().slug(), u"campaign-plan.md"_s)).contains("CFOs"));

    // Changes from elsewhere show in place in the fields nobody is typing in.
    model->updateSelectedProjectName(u"Renamed elsewhere"_s);
    EXPECT_EQ(name->text(), u"Renamed elsewhere"_s);
    EXPECT_EQ(audience->toPlainText(), u"CFOs"_s);
}

TEST_F(PlanDocumentTest, TheRawEditorEditsThePlanFileInMemoryAndSavesIt)
{
    click(u"rawMarkdownToggleButton"_s);
    EXPECT_TRUE(view->rawMarkdownMode());
    EXPECT_EQ(text(u"rawMarkdownCaptionLabel"_s),
        u"Editing ~/Documents/Orvane/"_s + selected().slug() + u"/campaign-plan.md"_s);
    auto *toggle = find<QAbstractButton>(u"rawMarkdownToggleButton"_s);
    QLabel *toggleText = toggle->findChild<QLabel *>();
    EXPECT_EQ(toggleText->text(), u"Structured Editor"_s);

    model->setSelectedLocalFileName(u"campaign-plan.md"_s);
    auto *editor = find<QPlainTextEdit>(u"rawMarkdownEditor"_s);
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_EQ(editor->toPlainText(), model->selectedLocalFile()->content);

    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, u"# Hand plan"_s);
    EXPECT_EQ(model->selectedLocalFile()->content, u"# Hand plan"_s);
    EXPECT_TRUE(model->selectedLocalFile()->isModified);
    keepPicture(u"plan-document-raw.png"_s);

    click(u"savePlanFileButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice() == u"Saved campaign-plan.md to disk."_s; }, 5000));
    EXPECT_EQ(test::readAll(projectFile(selected().slug(), u"campaign-plan.md"_s)), "# Hand plan");
    EXPECT_FALSE(model->selectedLocalFile()->isModified);

    click(u"rawMarkdownToggleButton"_s);
    EXPECT_FALSE(view->rawMarkdownMode());
    EXPECT_TRUE(find<QLineEdit>(u"campaignNameField"_s)->isVisible());
}

// The raw editor is bound to campaign-plan.md by name: another file selected in Local Files is
// neither shown, edited nor saved, and without the plan file nothing claims to be saved.
TEST_F(PlanDocumentTest, TheRawEditorStaysOnThePlanFileWhateverLocalFilesSelects)
{
    ASSERT_TRUE(model->campaignPlanFile());
    const QString csvPath = projectFile(selected().slug(), u"media-plan.csv"_s);
    const QByteArray csvOnDisk = test::readAll(csvPath);
    model->setSelectedLocalFileName(u"media-plan.csv"_s);
    model->updateSelectedLocalFileContent(u"channel\nunsaved"_s);
    click(u"rawMarkdownToggleButton"_s);
    auto *editor = find<QPlainTextEdit>(u"rawMarkdownEditor"_s);
    EXPECT_EQ(editor->toPlainText(), model->campaignPlanFile()->content);
    EXPECT_FALSE(find<QWidget>(u"rawMarkdownMissingLabel"_s)->isVisible());

    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, u"# Bound plan"_s);
    EXPECT_EQ(model->campaignPlanFile()->content, u"# Bound plan"_s);
    EXPECT_EQ(model->selectedLocalFileName(), u"media-plan.csv"_s);
    EXPECT_EQ(model->selectedLocalFile()->content, u"channel\nunsaved"_s);

    click(u"savePlanFileButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice() == u"Saved campaign-plan.md to disk."_s; }, 5000));
    EXPECT_EQ(test::readAll(projectFile(selected().slug(), u"campaign-plan.md"_s)), "# Bound plan");
    EXPECT_FALSE(model->campaignPlanFile()->isModified);
    // The other file keeps its unsaved edit, and its disk copy stays as it was.
    EXPECT_EQ(test::readAll(csvPath), csvOnDisk);
    const auto csv = std::find_if(model->localFiles().cbegin(), model->localFiles().cend(),
        [](const LocalWorkspaceFile &file) { return file.name == u"media-plan.csv"_s; });
    ASSERT_NE(csv, model->localFiles().cend());
    EXPECT_TRUE(csv->isModified);

    // Without the plan file (no project selected: the workspace root is listed) the editor says so
    // and offers no save.
    const CampaignIDEProject shown = selected();
    model->setSelectedProjectID(std::nullopt);
    model->reloadLocalFilesForSelectedProject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->campaignPlanFile(); }, 5000));
    EXPECT_TRUE(find<QWidget>(u"rawMarkdownMissingLabel"_s)->isVisible());
    EXPECT_EQ(text(u"rawMarkdownMissingLabel"_s),
        u"campaign-plan.md is not in this project's folder, so there is nothing to save."_s);
    EXPECT_FALSE(find<QAbstractButton>(u"savePlanFileButton"_s)->isEnabled());
    EXPECT_TRUE(editor->isReadOnly());
    keepPicture(u"plan-document-raw-missing.png"_s);
    model->saveCampaignPlanFile();
    EXPECT_EQ(notice(), u"campaign-plan.md is not in the project's folder; nothing was saved."_s);
    model->flushPendingWrites();
    EXPECT_EQ(test::readAll(projectFile(shown.slug(), u"campaign-plan.md"_s)), "# Bound plan");
}

// A plan file grown past the size the editor holds is there, only too large to edit here: the raw
// editor says so, shows nothing of it and offers no save that would write over it.
TEST_F(PlanDocumentTest, ThePlanFileTooLargeToEditIsNamedWithItsSize)
{
    const QString path = projectFile(selected().slug(), u"campaign-plan.md"_s);
    {
        QFile plan(path);
        ASSERT_TRUE(plan.open(QIODevice::Append));
        ASSERT_TRUE(plan.write(QByteArray(CampaignIDEWorkspaceModel::maxListedFileSize, 'x')));
    }
    click(u"rawMarkdownToggleButton"_s);
    model->reloadLocalFilesForSelectedProject();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return model->campaignPlanFile() && model->campaignPlanFile()->isTooLarge(); }, 5000));
    auto *editor = find<QPlainTextEdit>(u"rawMarkdownEditor"_s);
    EXPECT_TRUE(find<QWidget>(u"rawMarkdownMissingLabel"_s)->isVisible());
    EXPECT_EQ(text(u"rawMarkdownMissingLabel"_s), u"campaign-plan.md is too large to edit here (1.1 MB)."_s);
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_FALSE(find<QAbstractButton>(u"savePlanFileButton"_s)->isEnabled());
    const qint64 size = QFileInfo(path).size();
    model->saveCampaignPlanFile();
    EXPECT_EQ(notice(), u"campaign-plan.md is too large to edit here (1.1 MB); nothing was saved."_s);
    model->flushPendingWrites();
    EXPECT_EQ(QFileInfo(path).size(), size);
}

// A megabyte word (the local agent appends the whole prompt to the objective) or a megabyte of
// words is shown cut with a note, read only, in every field that holds it; the project and the
// plan file keep it whole, and the field is editable again once the text is short.
TEST_F(PlanDocumentTest, AMegabyteTextIsShownCutWithANoteAndKeptWhole)
{
    const QString word(1'000'000, u'w');
    const QString before = selected().objective;
    const QString objective = before + u"\n• Agent refinement: "_s + word;
    model->updateSelectedProjectObjective(objective);
    auto *objectiveEditor = find<CappedTextEdit>(u"objectiveEditor"_s);
    ASSERT_NE(objectiveEditor, nullptr);
    const QString cutLine = u"• Agent refinement: "_s + word.left(shownLineLimit - 20) + u"…"_s;
    EXPECT_TRUE(objectiveEditor->toPlainText() == before + u'\n' + cutLine);
    EXPECT_TRUE(objectiveEditor->isReadOnly());
    EXPECT_TRUE(find<QWidget>(u"objectiveCutNoteLabel"_s)->isVisible());
    EXPECT_EQ(text(u"objectiveCutNoteLabel"_s), cutLineNote(1'000'020));
    EXPECT_TRUE(
        text(u"objectiveCutNoteLabel"_s).startsWith(u"A line of 1000020 characters is too long to show in full"_s));
    EXPECT_TRUE(selected().objective == objective);
    EXPECT_FALSE(find<QWidget>(u"audienceCutNoteLabel"_s)->isVisible());

    // A megabyte of words pasted into the audience goes to the project whole without being laid out.
    QString words;
    while (words.size() < 1'000'000)
        words += u"growth leads "_s;
    auto *audience = find<CappedTextEdit>(u"audienceEditor"_s);
    audience->setFocus();
    audience->selectAll();
    QGuiApplication::clipboard()->setText(words);
    // The editor lays out what its document holds: never a line longer than it shows, not even
    // for a moment on the paste's way through.
    qsizetype longestLaidOut = 0;
    const auto watchLines = QObject::connect(audience->document(), &QTextDocument::contentsChange, audience, [&] {
        for (QTextBlock block = audience->document()->begin(); block.isValid(); block = block.next())
            longestLaidOut = std::max<qsizetype>(longestLaidOut, block.length() - 1);
    });
    QTest::keySequence(audience, QKeySequence::Paste);
    QObject::disconnect(watchLines);
    EXPECT_LE(longestLaidOut, shownLineLimit + 1);
    EXPECT_TRUE(selected().audience == words);
    EXPECT_EQ(audience->toPlainText(), words.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(audience->isReadOnly());
    EXPECT_TRUE(find<QWidget>(u"audienceCutNoteLabel"_s)->isVisible());
    QTest::keyClicks(audience, u"typed"_s);
    EXPECT_TRUE(selected().audience == words) << "a field showing its text cut never writes it back";
    // Selecting all of it and deleting clears it, and the field can be typed in again.
    QTest::keySequence(audience, QKeySequence::SelectAll);
    QTest::keyClick(audience, Qt::Key_Delete);
    EXPECT_TRUE(selected().audience.isEmpty());
    EXPECT_FALSE(audience->isReadOnly());
    EXPECT_FALSE(find<QWidget>(u"audienceCutNoteLabel"_s)->isVisible());
    QTest::keyClicks(audience, u"CFOs"_s);
    EXPECT_EQ(selected().audience, u"CFOs"_s);

    // A megabyte name pasted into its field goes to the project at once and whole: the state, the
    // plan file and the project's folder follow it. The field shows it cut, without laying it out.
    {
        const QString pasted(1'000'000, u'p');
        auto *field = find<CappedLineEdit>(u"campaignNameField"_s);
        field->setFocus();
        field->selectAll();
        QGuiApplication::clipboard()->setText(pasted);
        qsizetype longestShown = 0;
        const auto watchText = QObject::connect(field, &QLineEdit::textChanged, field,
            [&](const QString &shown) { longestShown = std::max(longestShown, shown.size()); });
        QTest::keySequence(field, QKeySequence::Paste);
        QObject::disconnect(watchText);
        EXPECT_LE(longestShown, shownLineLimit + 1);
        EXPECT_TRUE(selected().name == pasted) << selected().name.size();
        EXPECT_TRUE(field->isCut());
        EXPECT_TRUE(field->fullText() == pasted);
        EXPECT_TRUE(find<QWidget>(u"planFieldsCutNoteLabel"_s)->isVisible());
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_TRUE(selected().name == pasted) << selected().name.size();
        model->flushPendingWrites();
        EXPECT_TRUE(test::readAll(stateFile()).contains(pasted.toUtf8()));
        EXPECT_TRUE(test::readAll(projectFile(model->projectFolderName(selected()), u"campaign-plan.md"_s))
                        .startsWith((u"# "_s + pasted + u" — Campaign Plan\n"_s).toUtf8()));
    }

    // A megabyte name: the title ends in an ellipsis, the field shows it cut and read only.
    const QString name(1'000'000, u'n');
    model->mutateSelectedProject([&](CampaignIDEProject &p) { p.name = name; });
    EXPECT_EQ(text(u"planTitleLabel"_s), name.left(shownLabelLimit) + u"…"_s);
    // One long word in the kicker and title widens neither: the page never scrolls sideways.
    for (const QString &header : { u"planKickerLabel"_s, u"planTitleLabel"_s })
        EXPECT_LT(find<QWidget>(header)->minimumSizeHint().width(), view->width()) << qPrintable(header);
    auto *nameField = find<CappedLineEdit>(u"campaignNameField"_s);
    EXPECT_EQ(nameField->text(), name.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(nameField->fullText() == name);
    EXPECT_TRUE(nameField->isReadOnly());
    EXPECT_TRUE(find<QWidget>(u"planFieldsCutNoteLabel"_s)->isVisible());
    keepPicture(u"plan-document-megabyte.png"_s);

    // The raw editor shows the plan file cut; saving writes the file whole. (A short name first: the
    // plan file the mirror writes names the project, and is then over what the editor holds.)
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.name = u"Short"_s; });
    model->flushPendingWrites();
    model->updateCampaignPlanFileContent(u"# Plan\n"_s + word);
    click(u"rawMarkdownToggleButton"_s);
    auto *raw = find<CappedTextEdit>(u"rawMarkdownEditor"_s);
    EXPECT_EQ(raw->toPlainText(), u"# Plan\n"_s + word.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(raw->isReadOnly());
    EXPECT_TRUE(find<QWidget>(u"rawMarkdownCutNoteLabel"_s)->isVisible());
    click(u"savePlanFileButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice() == u"Saved campaign-plan.md to disk."_s; }, 20000));
    model->flushPendingWrites();
    EXPECT_TRUE(test::readAll(projectFile(model->projectFolderName(selected()), u"campaign-plan.md"_s))
        == (u"# Plan\n"_s + word).toUtf8());

    // Short again, the fields are whole and editable, and the notes go.
    model->updateCampaignPlanFileContent(u"# Plan"_s);
    EXPECT_EQ(raw->toPlainText(), u"# Plan"_s);
    EXPECT_FALSE(raw->isReadOnly());
    EXPECT_FALSE(find<QWidget>(u"rawMarkdownCutNoteLabel"_s)->isVisible());
    click(u"rawMarkdownToggleButton"_s);
    model->updateSelectedProjectObjective(u"More SQLs"_s);
    EXPECT_EQ(objectiveEditor->toPlainText(), u"More SQLs"_s);
    EXPECT_FALSE(objectiveEditor->isReadOnly());
    EXPECT_FALSE(find<QWidget>(u"objectiveCutNoteLabel"_s)->isVisible());
    EXPECT_EQ(nameField->text(), u"Short"_s);
    EXPECT_FALSE(nameField->isReadOnly());
    EXPECT_FALSE(find<QWidget>(u"planFieldsCutNoteLabel"_s)->isVisible());
}

// A paste shown cut is undone by its key, in the form the project keeps it in, and only in the
// project it was made in: the fields are shared by every project.
TEST_F(PlanDocumentTest, CtrlZUndoesALongPasteInTheProjectItWasMadeInOnly)
{
    auto *objective = find<CappedTextEdit>(u"objectiveEditor"_s);
    auto *name = find<CappedLineEdit>(u"campaignNameField"_s);
    auto *budget = find<CappedLineEdit>(u"monthlyBudgetField"_s);
    auto *audience = find<CappedTextEdit>(u"audienceEditor"_s);
    ASSERT_TRUE(objective && name && budget && audience);
    const auto pasteInto = [](QWidget *field, const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        field->setFocus();
        QTest::keySequence(field, QKeySequence::SelectAll);
        QTest::keySequence(field, QKeySequence::Paste);
    };
    const QString pasted(1'000'000, u'p');
    const QString objectiveBefore = selected().objective;
    pasteInto(objective, pasted);
    EXPECT_TRUE(objective->isReadOnly());
    QTest::keySequence(objective, QKeySequence::Undo);
    EXPECT_TRUE(selected().objective == objectiveBefore);
    EXPECT_EQ(objective->toPlainText(), objectiveBefore);

    // Digits without the "$" are kept as "$…": the undo still gives back the amount before them,
    // in the state and in the plan file.
    model->updateSelectedProjectBudget(u"$7,500"_s);
    for (const QString &digits : { QString(1'000'000, u'1'), QString(u" $"_s + QString(25'000, u'2') + u' ') }) {
        pasteInto(budget, digits);
        EXPECT_TRUE(selected().budget() == u'$' + digits.trimmed().remove(u'$')) << selected().budget().size();
        EXPECT_TRUE(budget->isCut());
        QTest::keySequence(budget, QKeySequence::Undo);
        EXPECT_EQ(selected().budget(), u"$7,500"_s);
        EXPECT_EQ(budget->text(), u"$7,500"_s);
    }
    model->flushPendingWrites();
    const QByteArray plan = test::readAll(projectFile(model->projectFolderName(selected()), u"campaign-plan.md"_s));
    EXPECT_TRUE(plan.contains("$7,500") && !plan.contains("$222"));

    // A field keeps the focus while another project is shown: it shows that project's text at once,
    // and what was typed there for the first never reaches the second (Tab commits the name shown).
    ASSERT_GE(model->projects().size(), 2);
    const QUuid first = selected().id;
    const QUuid second = model->projects().at(model->projects().at(0).id == first ? 1 : 0).id;
    const CampaignIDEProject secondBefore = *model->project(second);
    const auto typeForTheFirst = [&](QWidget *field) {
        model->setSelectedProjectID(first);
        field->setFocus();
        QTest::keySequence(field, QKeySequence::SelectAll);
        QTest::keyClicks(field, u"Typed for the first"_s);
        model->setSelectedProjectID(second);
    };
    typeForTheFirst(objective);
    QTest::keyClicks(objective, u"+"_s);
    EXPECT_EQ(model->project(second)->objective, QString(u'+' + secondBefore.objective));
    EXPECT_EQ(model->project(first)->objective, u"Typed for the first"_s);
    typeForTheFirst(name);
    QTest::keyClick(name, Qt::Key_Tab);
    EXPECT_FALSE(name->hasFocus());
    EXPECT_EQ(model->project(second)->name, secondBefore.name);

    // The same paste in each project's plan file; back in the first, Ctrl+Z in the raw editor
    // has nothing of the second's plan to give.
    click(u"rawMarkdownToggleButton"_s);
    auto *raw = find<CappedTextEdit>(u"rawMarkdownEditor"_s);
    const QString line(shownLineLimit + 1, u'r');
    const auto showPlanOf = [&](const QUuid &project) {
        model->setSelectedProjectID(project);
        model->reloadLocalFilesForSelectedProject();
        const QString path = projectFile(model->projectFolderName(selected()), u"campaign-plan.md"_s);
        return QTest::qWaitFor([&] { return model->campaignPlanFile() && model->campaignPlanFile()->id() == path; });
    };
    for (const QUuid &project : { first, second }) {
        ASSERT_TRUE(showPlanOf(project));
        pasteInto(raw, line);
    }
    ASSERT_TRUE(showPlanOf(first));
    QTest::keySequence(raw, QKeySequence::Undo);
    EXPECT_TRUE(model->campaignPlanFile()->content == line);
    click(u"rawMarkdownToggleButton"_s);

    // The same paste in two projects; back in the first, Ctrl+Z has nothing of the second's to give.
    const QString digits(1'000'000, u'1');
    for (const QUuid &project : { first, second }) {
        model->setSelectedProjectID(project);
        pasteInto(objective, pasted);
        pasteInto(name, pasted);
        pasteInto(audience, pasted);
        pasteInto(budget, digits);
    }
    model->setSelectedProjectID(first);
    const QString firstFolder = model->projectFolderName(selected());
    for (QWidget *field : std::initializer_list<QWidget *> { objective, name, audience, budget }) {
        field->setFocus();
        QTest::keySequence(field, QKeySequence::Undo);
    }
    for (const CampaignIDEProject &project : { selected(), *model->project(second) }) {
        EXPECT_TRUE(project.objective == pasted);
        EXPECT_TRUE(project.name == pasted);
        EXPECT_TRUE(project.audience == pasted);
        EXPECT_TRUE(project.budget() == u'$' + digits) << project.budget().size();
    }
    EXPECT_EQ(model->projectFolderName(selected()), firstFolder);
}

TEST_F(PlanDocumentTest, AnEmptyPlanFileShowsTheDefaultPlanText)
{
    model->setSelectedLocalFileName(u"campaign-plan.md"_s);
    model->updateSelectedLocalFileContent(QString());
    click(u"rawMarkdownToggleButton"_s);
    const QString expected = defaultPlanMarkdown(selected(), thread(threadID).title);
    EXPECT_EQ(find<QPlainTextEdit>(u"rawMarkdownEditor"_s)->toPlainText(), expected);
}

// With no project the view names the workspace and the thread; the fields offer no edit that
// would go nowhere.
TEST_F(PlanDocumentTest, WithoutAProjectTheDocumentFallsBackAndCannotBeEdited)
{
    model->removeProjects([](const CampaignIDEProject &) { return true; });
    model->setSelectedProjectID(std::nullopt);
    EXPECT_EQ(text(u"planKickerLabel"_s), u"CAMPAIGN PLAN DOCUMENT · WORKSPACE"_s);
    EXPECT_EQ(text(u"planTitleLabel"_s), thread(threadID).title);
    EXPECT_EQ(find<QLineEdit>(u"monthlyBudgetField"_s)->text(), u"$45,000"_s);
    EXPECT_TRUE(find<QLineEdit>(u"campaignNameField"_s)->isReadOnly());
    EXPECT_TRUE(find<QPlainTextEdit>(u"objectiveEditor"_s)->isReadOnly());
    EXPECT_EQ(find<SummaryStatTile>(u"creativeArtboardsTile"_s)->value(), u"0 Variants"_s);
    EXPECT_EQ(find<SummaryStatTile>(u"creativeArtboardsTile"_s)->sublabel(), u"0 approved for launch"_s);
}

} // namespace
} // namespace orvane::workbenchtest

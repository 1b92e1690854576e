#include "CanvasViewsFixture.h"

#include "ide/views/canvas/LocalFilesListModel.h"
#include "ide/views/canvas/LocalFilesTabView.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneWebTheme.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace orvane::canvastest {
namespace {

class LocalFilesTest : public CanvasViewsTest {
protected:
    void SetUp() override
    {
        CanvasViewsTest::SetUp();
        model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        model().flushPendingWrites();
        ASSERT_GE(model().localFiles().size(), 3);
        show<LocalFilesTabView>();
    }

    [[nodiscard]] QListView *list() const { return child<QListView>(u"localFilesListView"_s); }
    [[nodiscard]] QPlainTextEdit *editor() const { return child<QPlainTextEdit>(u"localFileEditor"_s); }
    [[nodiscard]] QString header() const { return child<ElidedLabel>(u"localFileNameLabel"_s)->text(); }
    [[nodiscard]] QVariant rowData(int row, int role) const { return list()->model()->index(row, 0).data(role); }
    [[nodiscard]] int rowNamed(const QString &name) const
    {
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            if (rowData(row, LocalFilesListModel::NameRole).toString() == name)
                return row;
        }
        ADD_FAILURE() << "no row " << name.toStdString();
        return -1;
    }
    void type(const QString &text)
    {
        editor()->setFocus();
        editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor(), text);
    }
    void save()
    {
        notices.clear();
        model().setStatusNotice(std::nullopt);
        clickButton(u"saveLocalFileButton"_s);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !notices.isEmpty(); }, 5000));
    }
};

TEST_F(LocalFilesTest, TheFirstFileIsShownUntilAnotherRowIsTapped)
{
    const LocalWorkspaceFile first = model().localFiles().first();
    EXPECT_EQ(list()->model()->rowCount(), model().localFiles().size());
    EXPECT_EQ(header(), first.name);
    EXPECT_EQ(editor()->toPlainText(), first.content);
    EXPECT_TRUE(rowData(0, LocalFilesListModel::SelectedRole).toBool());
    grab(u"local-files.png"_s);

    const int csv = rowNamed(u"media-plan.csv"_s);
    clickRow(list(), csv);
    EXPECT_EQ(model().selectedLocalFile()->name, u"media-plan.csv"_s);
    EXPECT_EQ(header(), u"media-plan.csv"_s);
    EXPECT_EQ(editor()->toPlainText(), model().selectedLocalFile()->content);
    EXPECT_TRUE(rowData(csv, LocalFilesListModel::SelectedRole).toBool());
    EXPECT_FALSE(rowData(0, LocalFilesListModel::SelectedRole).toBool());
    EXPECT_EQ(rowData(csv, LocalFilesListModel::SymbolRole).toString(), u"tablecells"_s);
    EXPECT_EQ(rowData(rowNamed(u"creatives.json"_s), LocalFilesListModel::SymbolRole).toString(), u"curlybraces"_s);
    EXPECT_EQ(rowData(rowNamed(u"campaign-plan.md"_s), LocalFilesListModel::SymbolRole).toString(), u"doc.text"_s);
    EXPECT_EQ(LocalFilesListModel::symbolFor(u"EXPORT.CSV"_s), u"doc.text"_s);
}

TEST_F(LocalFilesTest, EveryKeystrokeReachesTheModelAndSavingWritesTheFile)
{
    clickRow(list(), rowNamed(u"campaign-plan.md"_s));
    const LocalWorkspaceFile file = *model().selectedLocalFile();
    const int row = rowNamed(file.name);
    QPlainTextEdit *const shown = editor();
    EXPECT_EQ(rowData(row, LocalFilesListModel::ModifiedLabelRole).toString(), u"Synced"_s);

    type(u"x"_s);
    EXPECT_EQ(editor(), shown);
    EXPECT_EQ(editor()->toPlainText(), file.content + u'x');
    EXPECT_EQ(editor()->textCursor().position(), file.content.size() + 1);
    EXPECT_EQ(rowData(row, LocalFilesListModel::SizeBytesRole).toLongLong(), file.sizeBytes() + 1);
    EXPECT_EQ(rowData(row, LocalFilesListModel::ModifiedLabelRole).toString(), u"Modified"_s);

    // A letter that takes two bytes in UTF-8 counts two.
    QKeyEvent accent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"é"_s);
    QCoreApplication::sendEvent(editor(), &accent);
    EXPECT_EQ(rowData(row, LocalFilesListModel::SizeBytesRole).toLongLong(), file.sizeBytes() + 3);

    save();
    EXPECT_EQ(notices, QStringList { u"Saved "_s + file.name + u" to disk."_s });
    EXPECT_EQ(rowData(row, LocalFilesListModel::ModifiedLabelRole).toString(), u"Synced"_s);
    EXPECT_EQ(rowData(row, LocalFilesListModel::SizeBytesRole).toLongLong(), file.sizeBytes() + 3);
    QFile written(file.url.toLocalFile());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), file.content + u"xé"_s);
    EXPECT_EQ(editor(), shown);
}

// A file over the size the editor holds is listed by its size and says it is too large to edit
// here: nothing of it is shown, typing goes nowhere and saving never writes over it.
TEST_F(LocalFilesTest, AFileTooLargeToEditIsListedWithItsSizeAndSaysSo)
{
    const QString path = model().projectFolderPath(*model().selectedProject()) + u"/big.txt"_s;
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.write(QByteArray(CampaignIDEWorkspaceModel::maxListedFileSize + 1, 'x')));
    }
    model().reloadLocalFilesForSelectedProject();
    model().flushPendingWrites();
    QCoreApplication::processEvents();
    const int row = rowNamed(u"big.txt"_s);
    ASSERT_GE(row, 0);
    EXPECT_EQ(rowData(row, LocalFilesListModel::SizeBytesRole).toLongLong(),
        CampaignIDEWorkspaceModel::maxListedFileSize + 1);
    EXPECT_EQ(rowData(row, LocalFilesListModel::ModifiedLabelRole).toString(), u"Too large to edit"_s);

    clickRow(list(), row);
    EXPECT_EQ(header(), u"big.txt"_s);
    EXPECT_TRUE(editor()->toPlainText().isEmpty());
    EXPECT_TRUE(editor()->isReadOnly());
    EXPECT_EQ(editor()->placeholderText(), u"big.txt is too large to edit here (1.1 MB)."_s);
    grab(u"local-files-too-large.png"_s);
    type(u"lost"_s);
    EXPECT_TRUE(editor()->toPlainText().isEmpty());
    EXPECT_FALSE(model().hasUnsavedLocalFiles());
    save();
    EXPECT_EQ(notices, QStringList { u"big.txt is too large to edit here (1.1 MB); nothing was saved."_s });
    model().flushPendingWrites();
    EXPECT_EQ(QFileInfo(path).size(), CampaignIDEWorkspaceModel::maxListedFileSize + 1);
}

// A file with a megabyte line is shown cut with a note and cannot be edited; saving writes it whole,
// and a file of a megabyte of short lines stays editable.
TEST_F(LocalFilesTest, AMegabyteLineIsShownCutAndSavedWhole)
{
    const QString word(1'000'000, u'w');
    QString lines;
    while (lines.size() < 1'000'000)
        lines += u"budget, audience and creative to review\n"_s;
    const QString folder = model().projectFolderPath(*model().selectedProject());
    const QList<std::pair<QString, QString>> files { { u"word.md"_s, u"# Word\n"_s + word }, { u"lines.md"_s, lines } };
    for (const auto &[name, content] : files) {
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.toUtf8());
    }
    model().reloadLocalFilesForSelectedProject();
    model().flushPendingWrites();
    auto *note = child<QWidget>(u"localFileCutNoteLabel"_s);

    clickRow(list(), rowNamed(u"word.md"_s));
    ASSERT_EQ(header(), u"word.md"_s);
    EXPECT_EQ(editor()->toPlainText(), u"# Word\n"_s + word.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(editor()->isReadOnly());
    EXPECT_TRUE(note->isVisible());
    type(u"x"_s);
    EXPECT_FALSE(model().selectedLocalFile()->isModified);
    model().updateSelectedLocalFileContent(u"# Words\n"_s + word);
    EXPECT_EQ(editor()->toPlainText(), u"# Words\n"_s + word.left(shownLineLimit) + u"…"_s);
    save();
    QFile written(model().selectedLocalFile()->url.toLocalFile());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll() == (u"# Words\n"_s + word).toUtf8());

    clickRow(list(), rowNamed(u"lines.md"_s));
    EXPECT_TRUE(editor()->toPlainText() == lines);
    EXPECT_FALSE(editor()->isReadOnly());
    EXPECT_FALSE(note->isVisible());
    type(u"x"_s);
    EXPECT_TRUE(model().selectedLocalFile()->content == lines + u'x');
}

// A line longer than the editor is wide wraps at its width, between words, or inside one word too
// long for a line: nothing is out of sight to the right, and the text itself holds no new breaks.
TEST_F(LocalFilesTest, LongLinesWrapAtTheEditorsWidth)
{
    const QString words = QStringList(40, u"budget"_s).join(u' ');
    const QString word = QString(300, u'w');
    const QString folder = model().projectFolderPath(*model().selectedProject());
    QFile notes(folder + u"/notes.md"_s);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write((u"# Notes\n"_s + words + u'\n' + word).toUtf8());
    notes.close();
    model().reloadLocalFilesForSelectedProject();
    model().flushPendingWrites();
    clickRow(list(), rowNamed(u"notes.md"_s));
    ASSERT_EQ(header(), u"notes.md"_s);

    QPlainTextEdit *const shown = editor();
    const int width = shown->viewport()->width();
    ASSERT_GT(width, 0);
    EXPECT_EQ(shown->horizontalScrollBar()->maximum(), 0);
    const QTextDocument *document = shown->document();
    const QTextBlock wordsBlock = document->findBlockByNumber(document->blockCount() - 2);
    const QTextBlock wordBlock = document->lastBlock();
    ASSERT_EQ(wordsBlock.text(), words);
    ASSERT_EQ(wordBlock.text(), word);
    for (const QTextBlock &block : { wordsBlock, wordBlock }) {
        const QTextLayout *layout = block.layout();
        ASSERT_GT(layout->lineCount(), 1);
        for (int line = 0; line < layout->lineCount(); ++line)
            EXPECT_LE(layout->lineAt(line).naturalTextWidth(), width);
    }
    // Between words: each line of the words ends at a word's end.
    const QTextLayout *layout = wordsBlock.layout();
    for (int line = 0; line + 1 < layout->lineCount(); ++line) {
        const QTextLine at = layout->lineAt(line);
        EXPECT_EQ(words.mid(at.textStart(), at.textLength()).trimmed().split(u' ').last(), u"budget"_s);
    }

    // A narrower editor wraps again at its new width.
    view->resize(view->width() / 2, view->height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->viewport()->width() < width; }));
    EXPECT_LE(wordBlock.layout()->lineAt(0).naturalTextWidth(), shown->viewport()->width());
}

TEST_F(LocalFilesTest, SwitchingFilesKeepsUnsavedEditsInTheModel)
{
    clickRow(list(), rowNamed(u"campaign-plan.md"_s));
    type(u"draft"_s);
    const QString edited = editor()->toPlainText();

    clickRow(list(), rowNamed(u"creatives.json"_s));
    EXPECT_EQ(editor()->toPlainText(), model().selectedLocalFile()->content);
    EXPECT_EQ(
        rowData(rowNamed(u"campaign-plan.md"_s), LocalFilesListModel::ModifiedLabelRole).toString(), u"Modified"_s);

    clickRow(list(), rowNamed(u"campaign-plan.md"_s));
    EXPECT_EQ(editor()->toPlainText(), edited);
    EXPECT_EQ(editor()->textCursor().position(), 0);
}

// The list is one stop of the keyboard: it starts on the file shown, the arrow keys move a ring
// from row to row, and Space or Return opens the ringed file as a click does. The editor keeps Tab
// as text, and Ctrl+Tab and Ctrl+Shift+Tab leave it.
TEST_F(LocalFilesTest, TheKeyboardRingsAndOpensRowsAndLeavesTheEditor)
{
    const int csv = rowNamed(u"media-plan.csv"_s);
    ASSERT_GT(csv, 0);
    clickRow(list(), csv);
    list()->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    list()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list()->hasFocus(); }, 2000));
    EXPECT_EQ(list()->currentIndex().row(), csv);

    // The ring lies inside the row's edge, in the theme's accent.
    const auto ringedRow = [&] {
        const QImage picture = list()->viewport()->grab().toImage();
        const QColor accent = OrvaneWebTheme(model().isDarkTheme()).accentCyan();
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            const QRect rect = list()->visualRect(list()->model()->index(row, 0));
            if (picture.pixelColor(QPoint(rect.center().x(), rect.top() + 1) * picture.devicePixelRatio()) == accent)
                return row;
        }
        return -1;
    };
    EXPECT_EQ(ringedRow(), csv);

    const int other = csv == 1 ? 2 : csv - 1;
    QTest::keyClick(list(), other > csv ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(ringedRow(), other);
    EXPECT_EQ(model().selectedLocalFile()->name, u"media-plan.csv"_s); // moving opens nothing
    QTest::keyClick(list(), Qt::Key_Space);
    EXPECT_EQ(model().selectedLocalFile()->name, rowData(other, LocalFilesListModel::NameRole).toString());
    EXPECT_EQ(editor()->toPlainText(), model().selectedLocalFile()->content);
    QTest::keyClick(list(), other > csv ? Qt::Key_Up : Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(model().selectedLocalFile()->name, u"media-plan.csv"_s);

    // Without the focus, no ring.
    editor()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor()->hasFocus(); }, 2000));
    EXPECT_EQ(ringedRow(), -1);

    const QString text = editor()->toPlainText();
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_TRUE(editor()->hasFocus());
    EXPECT_EQ(editor()->toPlainText().size(), text.size() + 1);
    QTest::keyClick(editor(), Qt::Key_Backspace);
    QTest::keyClick(editor(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(editor()->hasFocus());
    editor()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(editor(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(editor()->hasFocus());
    EXPECT_EQ(editor()->toPlainText(), text);
}

TEST_F(LocalFilesTest, WithNoFilesTheEditorTakesNoTextAndSaveDoesNothing)
{
    // No project selected: the list is the workspace root's text files, and it has none.
    model().setSelectedProjectID(std::nullopt);
    const QString empty = home.path() + u"/Documents/Orvane"_s;
    for (const QFileInfo &entry : QDir(empty).entryInfoList(QDir::Files | QDir::NoDotAndDotDot))
        QFile::remove(entry.filePath());
    model().reloadLocalFilesForSelectedProject();
    model().flushPendingWrites();
    QCoreApplication::processEvents();
    if (!model().localFiles().isEmpty())
        GTEST_SKIP() << "the workspace root lists files of its own";

    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(header(), u"campaign-plan.md"_s);
    EXPECT_TRUE(editor()->toPlainText().isEmpty());
    EXPECT_TRUE(editor()->isReadOnly());
    type(u"lost"_s);
    EXPECT_TRUE(editor()->toPlainText().isEmpty());

    notices.clear();
    clickButton(u"saveLocalFileButton"_s);
    model().flushPendingWrites();
    QCoreApplication::processEvents();
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(LocalFilesTest, FinderShowsTheSelectedProjectsFolderOrTheWorkspaceRoot)
{
    clickButton(u"revealProjectFolderButton"_s);
    ASSERT_EQ(revealed.size(), 1);
    EXPECT_EQ(revealed.last(), model().projectFolderPath(*model().selectedProject()));

    model().setSelectedProjectID(std::nullopt);
    clickButton(u"revealProjectFolderButton"_s);
    EXPECT_EQ(revealed.last(), model().localWorkspaceRoot());
    EXPECT_EQ(revealed.size(), 2);
}

TEST_F(LocalFilesTest, TheFileListStaysAConsistentItemModelThroughEditsSelectionAndReloads)
{
    LocalFilesListModel files(&model().mirror());
    QAbstractItemModelTester tester(&files, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy changed(&files, &QAbstractItemModel::dataChanged);

    model().updateSelectedLocalFileContent(u"abc"_s);
    EXPECT_EQ(files.index(0, 0).data(LocalFilesListModel::SizeBytesRole).toLongLong(), 3);
    EXPECT_EQ(LocalFilesListModel::detailText(model().localFiles().first()), u"3 B · Modified"_s);
    model().selectLocalFile(model().localFiles().at(1).id());
    EXPECT_TRUE(files.index(1, 0).data(LocalFilesListModel::SelectedRole).toBool());
    EXPECT_FALSE(files.index(0, 0).data(LocalFilesListModel::SelectedRole).toBool());
    EXPECT_GE(changed.size(), 3);

    model().reloadLocalFilesForSelectedProject();
    model().flushPendingWrites();
    QCoreApplication::processEvents();
    EXPECT_EQ(files.rowCount(), model().localFiles().size());
    EXPECT_EQ(files.index(0, 0).data(LocalFilesListModel::ModifiedLabelRole).toString(), u"Modified"_s);
}

} // namespace
} // namespace orvane::canvastest

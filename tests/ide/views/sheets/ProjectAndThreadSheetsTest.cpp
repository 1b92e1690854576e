#include "SheetsWindowFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/LongText.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>

namespace orvane::sheetstest {
namespace {

class ProjectAndThreadSheetsTest : public SheetsWindowTest {
protected:
    // What a screen reader says the control is.
    [[nodiscard]] QString accessibleName(const QString &objectName) const
    {
        return QAccessible::queryAccessibleInterface(find<QWidget>(objectName))->text(QAccessible::Name);
    }
};

TEST_F(ProjectAndThreadSheetsTest, NewProjectSheetCreatesAsTypedCancelsAndKeepsOrClearsTheName)
{
    const qsizetype projectsBefore = model().projects().size();
    window->controller()->openNewProjectSheet(true);
    WorkspaceSheetFrame *sheet = shownSheet(WorkspaceSheet::newProject);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->width(), 460);
    // Sheets lie on the theme's panel colour and follow a switch.
    EXPECT_EQ(sheet->grab().toImage().pixelColor(2, 2), OrvaneWebTheme(true).panelBackground());
    model().setDarkTheme(false);
    EXPECT_EQ(sheet->grab().toImage().pixelColor(2, 2), OrvaneWebTheme(false).panelBackground());
    EXPECT_TRUE(find<QLineEdit>(u"newProjectNameField"_s)->text().isEmpty());
    EXPECT_EQ(
        find<QLineEdit>(u"newProjectNameField"_s)->placeholderText(), u"e.g., Q3 Enterprise AI Search Conquest"_s);
    EXPECT_EQ(accessibleName(u"newProjectNameField"_s), u"Create a Campaign Project Folder"_s);

    // The name goes over untrimmed.
    typeInto(u"newProjectNameField"_s, u" Q3 Search Conquest "_s);
    EXPECT_EQ(state().newProjectName(), u" Q3 Search Conquest "_s);
    keepWidget(sheet, u"new-project-sheet.png"_s);
    click(u"createProjectButton"_s);

    ASSERT_EQ(model().projects().size(), projectsBefore + 1);
    const CampaignIDEProject project = model().projects().constFirst();
    EXPECT_EQ(project.name, u" Q3 Search Conquest "_s);
    EXPECT_EQ(model().selectedProjectID(), project.id);
    ASSERT_TRUE(model().activeThread().has_value());
    EXPECT_EQ(model().activeThread()->projectID, project.id);
    EXPECT_FALSE(state().showingNewProjectSheet());
    EXPECT_TRUE(sheetGone(WorkspaceSheet::newProject));

    // Creating keeps the typed name for the openers that do not clear it.
    window->controller()->openNewProjectSheet(false);
    ASSERT_NE(shownSheet(WorkspaceSheet::newProject), nullptr);
    EXPECT_EQ(find<QLineEdit>(u"newProjectNameField"_s)->text(), u" Q3 Search Conquest "_s);

    // Cancel leaves the model as it was.
    const QList<CampaignIDEProject> projects = model().projects();
    const QList<CampaignIDEThread> threads = model().threads();
    click(u"sheetCancelButton"_s);
    EXPECT_FALSE(state().showingNewProjectSheet());
    EXPECT_TRUE(sheetGone(WorkspaceSheet::newProject));
    EXPECT_EQ(model().projects(), projects);
    EXPECT_EQ(model().threads(), threads);

    // The menu's opener clears the name; an empty name still makes a project and opens its thread.
    window->focusedActions().createProject();
    ASSERT_NE(shownSheet(WorkspaceSheet::newProject), nullptr);
    EXPECT_TRUE(find<QLineEdit>(u"newProjectNameField"_s)->text().isEmpty());
    click(u"createProjectButton"_s);
    ASSERT_EQ(model().projects().size(), projects.size() + 1);
    EXPECT_TRUE(model().projects().constFirst().name.isEmpty());
    EXPECT_EQ(model().activeThread()->projectID, model().projects().constFirst().id);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::newProject));
}

TEST_F(ProjectAndThreadSheetsTest, NewThreadTrimsTheTitleTakesThePersonasWorkbenchAndLeavesABlankPromptUnsent)
{
    // A project other than the first is selected: the thread goes there.
    const CampaignIDEProject second = model().projects().at(1);
    model().openProject(second.id);

    window->controller()->openNewThreadSheet(true, true);
    WorkspaceSheetFrame *sheet = shownSheet(WorkspaceSheet::newThread);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->width(), 500);
    EXPECT_EQ(accessibleName(u"newThreadTitleField"_s), u"Thread Title"_s);
    EXPECT_EQ(accessibleName(u"newThreadPromptField"_s), u"Initial Prompt (Optional)"_s);
    auto *picker = find<QComboBox>(u"newThreadPersonaComboBox"_s);
    ASSERT_EQ(picker->count(), 6);
    EXPECT_EQ(picker->currentText(), u"Orvane Native Operator (@orvane)"_s);
    EXPECT_EQ(picker->itemText(3), u"GAQL & Search Engineer (@gaql)"_s);
    // Its list pops up in the theme's colours, and follows a switch.
    for (const bool dark : { false, true }) {
        model().setDarkTheme(dark);
        picker->showPopup();
        QWidget *popup = picker->view()->window();
        ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000));
        EXPECT_EQ(picker->view()->palette().color(QPalette::Base), OrvaneWebTheme(dark).panelBackground());
        const QImage image = popup->grab().toImage();
        const int lightness = image.pixelColor(image.width() / 2, image.height() - 3).lightness();
        EXPECT_TRUE(dark ? lightness < 60 : lightness > 200) << lightness;
        picker->hidePopup();
    }

    typeInto(u"newThreadTitleField"_s, u"  Spring Push  "_s);
    // Four steps down the picker: "Attribution & Lift Analyst".
    for (int step = 0; step < 4; ++step)
        QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(state().newThreadPersona().id, u"attribution-analyst"_s);
    typeInto(u"newThreadPromptField"_s, u"   "_s);
    keepWidget(sheet, u"new-thread-sheet.png"_s);
    const qsizetype threadsBefore = model().threads().size();
    click(u"openThreadWorkbenchButton"_s);

    ASSERT_EQ(model().threads().size(), threadsBefore + 1);
    const CampaignIDEThread thread = model().threads().constFirst();
    EXPECT_EQ(thread.title, u"Spring Push"_s);
    EXPECT_EQ(thread.projectID, second.id);
    EXPECT_EQ(thread.workbenchView, IDEWorkbenchView::dashboard);
    ASSERT_EQ(thread.agentTabs.size(), 1);
    EXPECT_EQ(thread.agentTabs.constFirst().personaHandle, u"@analyst"_s);
    EXPECT_EQ(thread.agentTabs.constFirst().entries.size(), 1); // the blank prompt was not sent
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(thread.id));
    EXPECT_TRUE(sheetGone(WorkspaceSheet::newThread));

    // The projects home keeps the persona chosen last and clears the texts; the sidebar's persona
    // button puts the operator back.
    model().navigateTo(IDEPrimaryDestination::projects());
    window->controller()->homeNewThread();
    ASSERT_NE(shownSheet(WorkspaceSheet::newThread), nullptr);
    EXPECT_EQ(
        find<QComboBox>(u"newThreadPersonaComboBox"_s)->currentText(), u"Attribution & Lift Analyst (@analyst)"_s);
    EXPECT_TRUE(find<QLineEdit>(u"newThreadTitleField"_s)->text().isEmpty());
    click(u"sheetCancelButton"_s);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::newThread));
    window->controller()->openNewThreadSheet(true, true);
    ASSERT_NE(shownSheet(WorkspaceSheet::newThread), nullptr);
    EXPECT_EQ(find<QComboBox>(u"newThreadPersonaComboBox"_s)->currentIndex(), 0);
}

TEST_F(ProjectAndThreadSheetsTest, NewThreadWithAPromptSendsItAtOnceUnderTheDefaultTitle)
{
    window->controller()->openNewThreadSheet(true, true);
    ASSERT_NE(shownSheet(WorkspaceSheet::newThread), nullptr);
    typeInto(u"newThreadPromptField"_s, u"  Build a $45k/mo media plan  "_s);
    // Cancel keeps the typed text for an opener that does not clear it.
    click(u"sheetCancelButton"_s);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::newThread));
    EXPECT_EQ(state().newThreadPrompt(), u"  Build a $45k/mo media plan  "_s);
    window->controller()->openNewThreadSheet(false, false);
    ASSERT_NE(shownSheet(WorkspaceSheet::newThread), nullptr);
    EXPECT_EQ(find<QLineEdit>(u"newThreadPromptField"_s)->text(), u"  Build a $45k/mo media plan  "_s);

    const std::optional<QUuid> selected = model().selectedProjectID();
    click(u"openThreadWorkbenchButton"_s);
    const CampaignIDEThread thread = model().threads().constFirst();
    EXPECT_EQ(thread.title, u"Campaign Thread · Orvane Native Operator"_s);
    EXPECT_EQ(thread.projectID, selected.value_or(thread.projectID));
    // The trimmed prompt is the thread's first message.
    ASSERT_GE(thread.agentTabs.constFirst().entries.size(), 2);
    EXPECT_EQ(thread.agentTabs.constFirst().entries.at(1).text, u"Build a $45k/mo media plan"_s);
}

TEST_F(ProjectAndThreadSheetsTest, RenameSavesTheTrimmedTitleAndIgnoresABlankOne)
{
    const CampaignIDEThread thread = model().threads().constFirst();
    const auto current = [&] { return *model().thread(thread.id); };
    // What the sidebar's rename action does.
    const auto openRename = [&] {
        state().setRenameThreadText(current().title);
        state().setRenamingThread(current());
    };

    openRename();
    WorkspaceSheetFrame *sheet = shownSheet(WorkspaceSheet::renameThread);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->width(), 420);
    EXPECT_EQ(find<QLineEdit>(u"renameThreadTitleField"_s)->text(), thread.title);
    EXPECT_EQ(accessibleName(u"renameThreadTitleField"_s), u"Thread Title"_s);
    typeInto(u"renameThreadTitleField"_s, u"  Search Conquest  "_s);
    keepWidget(sheet, u"rename-thread-sheet.png"_s);
    click(u"saveThreadTitleButton"_s);
    EXPECT_EQ(current().title, u"Search Conquest"_s);
    EXPECT_EQ(current().updatedAt, u"Just now"_s);
    EXPECT_FALSE(state().renamingThread().has_value());
    EXPECT_TRUE(sheetGone(WorkspaceSheet::renameThread));

    // Emptied: the sheet closes and the title stays.
    openRename();
    ASSERT_NE(shownSheet(WorkspaceSheet::renameThread), nullptr);
    typeInto(u"renameThreadTitleField"_s, QString());
    click(u"saveThreadTitleButton"_s);
    EXPECT_EQ(current().title, u"Search Conquest"_s);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::renameThread));

    // Cancel changes nothing.
    openRename();
    ASSERT_NE(shownSheet(WorkspaceSheet::renameThread), nullptr);
    typeInto(u"renameThreadTitleField"_s, u"Other"_s);
    click(u"sheetCancelButton"_s);
    EXPECT_EQ(current().title, u"Search Conquest"_s);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::renameThread));

    // A megabyte pasted into the title is saved whole, never cut at the field's length; the field
    // shows it cut.
    openRename();
    ASSERT_NE(shownSheet(WorkspaceSheet::renameThread), nullptr);
    auto *titleField = find<QLineEdit>(u"renameThreadTitleField"_s);
    titleField->setFocus();
    titleField->selectAll();
    const QString pasted(1'000'000, u't');
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keySequence(titleField, QKeySequence::Paste);
    EXPECT_EQ(titleField->text(), pasted.left(shownLineLimit) + u"…"_s);
    // Ctrl+Z right after gives back the title from before the paste, and Ctrl+V pastes it again.
    QTest::keySequence(titleField, QKeySequence::Undo);
    EXPECT_EQ(titleField->text(), u"Search Conquest"_s);
    EXPECT_FALSE(titleField->isReadOnly());
    EXPECT_EQ(state().renameThreadText(), u"Search Conquest"_s);
    titleField->selectAll();
    QTest::keySequence(titleField, QKeySequence::Paste);
    click(u"saveThreadTitleButton"_s);
    EXPECT_TRUE(current().title == pasted) << current().title.size();

    // A thread deleted while its sheet is open: Save closes the sheet and changes nothing else.
    openRename();
    ASSERT_NE(shownSheet(WorkspaceSheet::renameThread), nullptr);
    model().deleteThread(thread.id);
    const QList<CampaignIDEThread> remaining = model().threads();
    click(u"saveThreadTitleButton"_s);
    EXPECT_EQ(model().threads(), remaining);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::renameThread));
}

// Each sheet is a dialog of the window, exactly as large as its content, also as the content
// changes: a window manager offers no maximising (nor resizing) of a window whose size is fixed.
TEST_F(ProjectAndThreadSheetsTest, SheetsAreDialogsOfTheWindowFixedToTheirContentsSize)
{
    const auto expectFixed = [&](WorkspaceSheetFrame *sheet, int width, const char *what) {
        ASSERT_NE(sheet, nullptr) << what;
        EXPECT_EQ(sheet->windowType(), Qt::Dialog) << what;
        EXPECT_FALSE(sheet->windowFlags() & Qt::WindowMaximizeButtonHint) << what;
        EXPECT_EQ(sheet->parentWidget()->window(), window->window()) << what;
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal) << what;
        EXPECT_EQ(sheet->minimumSize(), sheet->maximumSize()) << what;
        EXPECT_EQ(sheet->size(), sheet->minimumSize()) << what;
        EXPECT_EQ(sheet->width(), width) << what;
    };

    window->controller()->openNewProjectSheet(true);
    expectFixed(shownSheet(WorkspaceSheet::newProject), 460, "new project");
    click(u"sheetCancelButton"_s);
    ASSERT_TRUE(sheetGone(WorkspaceSheet::newProject));

    window->controller()->openNewThreadSheet(true, true);
    expectFixed(shownSheet(WorkspaceSheet::newThread), 500, "new thread");
    state().setShowingNewThreadSheet(false);
    ASSERT_TRUE(sheetGone(WorkspaceSheet::newThread));

    state().setRenameThreadText(model().threads().constFirst().title);
    state().setRenamingThread(model().threads().constFirst());
    expectFixed(shownSheet(WorkspaceSheet::renameThread), 420, "rename thread");
    state().setRenamingThread(std::nullopt);
    ASSERT_TRUE(sheetGone(WorkspaceSheet::renameThread));

    // The palette's height follows its rows, and stays fixed at each.
    window->controller()->openCommandPalette();
    WorkspaceSheetFrame *palette = shownSheet(WorkspaceSheet::commandPalette);
    expectFixed(palette, 560, "command palette");
    const int allRows = palette->height();
    typeInto(u"commandQueryField"_s, u"zzz-nothing"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return palette->height() < allRows; }, 2000));
    expectFixed(palette, 560, "command palette with no rows");
}

} // namespace
} // namespace orvane::sheetstest

#include "AppTestSupport.h"

#include "app/AboutDialog.h"
#include "app/CampaignIDECommands.h"
#include "app/DeferredIconStyle.h"
#include "app/RootView.h"
#include "app/StandardMenus.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "testsupport/QtMessages.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
using Edit = StandardMenus::EditItem;

namespace {

// One flag per Edit item, in menu order: Undo, Redo, Cut, Copy, Paste, Select All.
QString enabledEditItems(const StandardMenus &menus)
{
    QString flags;
    for (const Edit item : { Edit::undo, Edit::redo, Edit::cut, Edit::copy, Edit::paste, Edit::selectAll })
        flags += menus.editAction(item)->isEnabled() ? u'1' : u'0';
    return flags;
}

} // namespace

TEST(StandardMenusTest, EditItemsActOnTheFocusedFieldAndAboutShowsTheVersionAndLicences)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    QStringList titles;
    for (const QAction *menu : window->menuBar()->actions())
        titles.append(menu->text());
    EXPECT_EQ(titles, QStringList({ u"&File"_s, u"&Edit"_s, u"Campaign"_s, u"&Help"_s }));

    StandardMenus &menus = *window->standardMenus();
    auto *field = harness.find<QLineEdit>(u"draftField"_s);
    ASSERT_NE(field, nullptr);
    QGuiApplication::clipboard()->clear();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menus.editTarget() == field; }));
    EXPECT_EQ(enabledEditItems(menus), u"000000"_s);
    QTest::keyClicks(field, u"spring"_s);
    EXPECT_EQ(enabledEditItems(menus), u"100001"_s);

    menus.editAction(Edit::selectAll)->trigger();
    EXPECT_EQ(enabledEditItems(menus), u"101101"_s);
    menus.editAction(Edit::cut)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"spring"_s);
    EXPECT_EQ(enabledEditItems(menus), u"100010"_s);
    menus.editAction(Edit::paste)->trigger();
    menus.editAction(Edit::paste)->trigger();
    menus.editAction(Edit::undo)->trigger();
    EXPECT_EQ(field->text(), u"spring"_s);
    EXPECT_TRUE(menus.editAction(Edit::redo)->isEnabled());

    // A read-only field copies but never changes.
    field->setReadOnly(true);
    menus.editAction(Edit::selectAll)->trigger();
    EXPECT_EQ(enabledEditItems(menus), u"000101"_s);

    // A control that is not a text field takes none of them.
    const QList<QAbstractButton *> buttons = window->findChildren<QAbstractButton *>();
    const auto button = std::find_if(buttons.begin(), buttons.end(),
        [](QAbstractButton *b) { return b->isVisible() && (b->focusPolicy() & Qt::TabFocus); });
    ASSERT_NE(button, buttons.end());
    (*button)->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menus.editTarget() == nullptr; }));
    EXPECT_EQ(enabledEditItems(menus), u"000000"_s);

    // Help > About shows the version and the bundled licences.
    window->findChild<QAction *>(u"aboutAction"_s)->trigger();
    auto *dialog = window->findChild<AboutDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(
        dialog->findChild<QLabel *>(u"aboutVersionLabel"_s)->text(), u"Version "_s + QStringLiteral(ORVANE_VERSION));
    const QString licences = dialog->findChild<QPlainTextEdit *>(u"aboutLicencesField"_s)->toPlainText();
    for (const QString &expected : { u"Space Grotesk (font)"_s, u"Inter (font)"_s, u"IBM Plex Mono (font)"_s,
             u"Lucide (icons)"_s, u"SIL Open Font License"_s, u"ISC License"_s })
        EXPECT_TRUE(licences.contains(expected)) << qPrintable(expected);
}

// The menu's Paste does what Ctrl+V does in a field that shows a long text cut: a megabyte line is
// kept whole and never laid out. Its Undo, as Ctrl+Z, gives back the text from before such a paste,
// and what the field writes follows.
TEST(StandardMenusTest, PasteAndUndoActOnACappedFieldAsTheirKeysDo)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    StandardMenus &menus = *window->standardMenus();
    CampaignIDEWorkspaceModel &model = *window->rootView()->workspace()->model();
    window->commands()->action(CampaignIDECommands::Item::showPlan)->trigger();
    auto *name = harness.find<CappedLineEdit>(u"campaignNameField"_s);
    ASSERT_NE(name, nullptr);
    ASSERT_FALSE(name->isReadOnly());
    const QString before = model.selectedProject()->name;
    const QString pasted(1'000'000, u'p');
    QGuiApplication::clipboard()->setText(pasted);
    name->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menus.editTarget() == name; }));
    qsizetype longestShown = 0;
    QObject::connect(name, &QLineEdit::textChanged, name,
        [&](const QString &shown) { longestShown = std::max(longestShown, shown.size()); });
    for (const bool byMenu : { true, false }) {
        menus.editAction(Edit::selectAll)->trigger();
        menus.editAction(Edit::paste)->trigger();
        EXPECT_LE(longestShown, shownLineLimit + 1);
        EXPECT_TRUE(name->isCut());
        EXPECT_TRUE(model.selectedProject()->name == pasted);
        // Cut, the field copies and selects what it shows, and undoes the paste.
        EXPECT_EQ(enabledEditItems(menus), u"100001"_s);
        if (byMenu)
            menus.editAction(Edit::undo)->trigger();
        else
            QTest::keySequence(name, QKeySequence::Undo);
        EXPECT_TRUE(name->text() == before) << name->text().size();
        EXPECT_FALSE(name->isReadOnly());
        EXPECT_TRUE(model.selectedProject()->name == before);
    }

    // The composer's draft, and an editor of several lines.
    auto *draft = harness.find<CappedLineEdit>(u"draftField"_s);
    draft->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menus.editTarget() == draft; }));
    menus.editAction(Edit::paste)->trigger();
    EXPECT_TRUE(draft->isCut());
    EXPECT_TRUE(draft->fullText() == pasted);
    menus.editAction(Edit::undo)->trigger();
    EXPECT_TRUE(draft->text().isEmpty());

    window->commands()->action(CampaignIDECommands::Item::showPlan)->trigger();
    auto *objective = harness.find<CappedTextEdit>(u"objectiveEditor"_s);
    ASSERT_NE(objective, nullptr);
    const QString objectiveBefore = objective->toPlainText();
    objective->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menus.editTarget() == objective; }));
    menus.editAction(Edit::selectAll)->trigger();
    menus.editAction(Edit::paste)->trigger();
    EXPECT_TRUE(objective->isCut());
    EXPECT_TRUE(model.selectedProject()->objective == pasted);
    EXPECT_EQ(objective->toPlainText(), pasted.left(shownLineLimit) + u"…"_s);
    // The project shown again with the text as it is (another of its fields changed) keeps the undo.
    model.mutateSelectedProject([](CampaignIDEProject &project) { project.updated = u"Just now"_s; });
    EXPECT_TRUE(menus.editAction(Edit::undo)->isEnabled());
    menus.editAction(Edit::undo)->trigger();
    EXPECT_TRUE(objective->toPlainText() == objectiveBefore);
    EXPECT_TRUE(model.selectedProject()->objective == objectiveBefore);

    // Pasted by its key, the paste is offered to undo as well, and the Edit menu opened from the
    // keyboard acts on the field the keyboard was in.
    QTest::keySequence(objective, QKeySequence::SelectAll);
    QTest::keySequence(objective, QKeySequence::Paste);
    ASSERT_TRUE(objective->isCut());
    EXPECT_TRUE(QTest::qWaitFor([&] { return menus.editAction(Edit::undo)->isEnabled(); }));
    const test::ExpectQtWarnings popup({ u"does not support raise()"_s, u"does not support grabbing"_s });
    QTest::keyClick(window, Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_EQ(QApplication::activePopupWidget()->objectName(), u"editMenu"_s);
    EXPECT_EQ(menus.editTarget(), objective);
    EXPECT_EQ(enabledEditItems(menus), u"100001"_s);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    EXPECT_TRUE(objective->toPlainText() == objectiveBefore);
    EXPECT_TRUE(model.selectedProject()->objective == objectiveBefore);
}

TEST(StandardMenusTest, CtrlWClosesTheWindowAndCtrlQQuitsSavingWhatIsPending)
{
    AppHarness harness;
    QPointer<OrvaneMainWindow> window = harness.start();
    pressKeys(window, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    harness.app().activate();
    window = harness.app().windows().first();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    window->rootView()->workspace()->model()->createProject(
        u"Quit Flush Probe"_s, std::nullopt, static_cast<SessionStore *>(nullptr));
    pressKeys(window, Qt::Key_Q, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    QFile state(CampaignIDEWorkspaceModel::standardLocations().stateFile);
    ASSERT_TRUE(state.open(QIODevice::ReadOnly));
    EXPECT_TRUE(state.readAll().contains("Quit Flush Probe"));
}

// The menu bar's overflow button takes a standard icon the style loads only when it is drawn; it
// draws what the platform's style draws.
TEST(StandardMenusTest, DeferredStandardIconsDrawThePlatformsIcons)
{
    DeferredIconStyle style;
    for (const auto which : { QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_MessageBoxWarning }) {
        const QIcon deferred = style.standardIcon(which);
        const QIcon direct = style.baseStyle()->standardIcon(which);
        EXPECT_FALSE(deferred.isNull());
        EXPECT_EQ(deferred.pixmap(24).toImage(), direct.pixmap(24).toImage()) << int(which);
    }
}

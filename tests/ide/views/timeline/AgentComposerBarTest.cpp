#include "TimelineViewsFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/timeline/AgentComposerBar.h"
#include "ide/views/timeline/QuickPromptRow.h"
#include "ide/views/window/WindowPrimitives.h"
#include "testsupport/QtMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>

namespace orvane::timelinetest {
namespace {

class AgentComposerBarTest : public TimelineViewsTest {
protected:
    void SetUp() override
    {
        TimelineViewsTest::SetUp();
        bar = new AgentComposerBar(context(), threadID, tabID);
        show(bar, { 460, 90 });
    }
    static void pick(QWidget *bar, const QString &menu, const QString &action)
    {
        QAction *item = child<QMenu>(bar, menu)->findChild<QAction *>(action);
        ASSERT_NE(item, nullptr) << action.toStdString();
        item->trigger();
    }

    AgentComposerBar *bar = nullptr;
};

// Typing writes every keystroke to the tab's draft through the same field, which is never replaced
// and keeps its cursor; Return and Send hand the held draft to the model.
TEST_F(AgentComposerBarTest, TypingSendingAndBlankDrafts)
{
    auto *field = child<QLineEdit>(bar, u"draftField"_s);
    field->setFocus();
    QTest::keyClicks(field, u"Plan"_s);
    EXPECT_EQ(tab().draftPrompt, u"Plan"_s);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClicks(field, u"x"_s);
    EXPECT_EQ(tab().draftPrompt, u"Plaxn"_s);
    EXPECT_EQ(field->cursorPosition(), 4) << "the model's echo leaves the cursor alone";
    EXPECT_EQ(bar->findChild<QLineEdit *>(u"draftField"_s), field);

    // A blank draft sends nothing and keeps its spaces.
    field->clear();
    QTest::keyClicks(field, u"   "_s);
    const auto count = tab().entries.size();
    QTest::keyClick(field, Qt::Key_Return);
    QTest::mouseClick(child<QAbstractButton>(bar, u"sendButton"_s), Qt::LeftButton);
    EXPECT_EQ(tab().entries.size(), count);
    EXPECT_EQ(tab().draftPrompt, u"   "_s);

    QTest::keyClicks(field, u"Launch the test"_s);
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(tab().entries.size(), count + 2);
    EXPECT_EQ(tab().entries.at(count).text, u"Launch the test"_s);
    EXPECT_TRUE(field->text().isEmpty()) << "the sent draft is cleared";

    // Send while streaming starts another turn.
    ASSERT_TRUE(tab().isStreaming);
    QTest::keyClicks(field, u"And another"_s);
    QTest::mouseClick(child<QAbstractButton>(bar, u"sendButton"_s), Qt::LeftButton);
    EXPECT_EQ(tab().entries.size(), count + 4);
    keepPicture(u"composer-dark.png"_s);
}

// A paste far past the field's usual 32,767 characters is held whole as the draft and sent whole,
// line breaks and all; the field shows it cut (a megabyte line would take it seconds to lay out)
// and says so, and deleting all of it clears the draft.
TEST_F(AgentComposerBarTest, ALongPasteIsKeptAndSentWhole)
{
    QString text;
    for (int line = 0; text.size() < 1024 * 1024; ++line)
        text += u"Brief line "_s + QString::number(line) + u": audiences, budgets and creatives to review.\n"_s;
    text += u"The end."_s;
    auto *field = child<QLineEdit>(bar, u"draftField"_s);
    field->setFocus();
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(field, QKeySequence::Paste);
    EXPECT_EQ(field->text(), text.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(field->isReadOnly());
    auto *note = child<WrappingLabel>(bar, u"draftCutNoteLabel"_s);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(),
        u"This draft of %1 characters is shown cut at 20000: Send sends it whole; select all and delete to clear it."_s
            .arg(text.size()));
    EXPECT_EQ(tab().draftPrompt.size(), text.size());
    EXPECT_TRUE(tab().draftPrompt == text);

    const auto count = tab().entries.size();
    QTest::mouseClick(child<QAbstractButton>(bar, u"sendButton"_s), Qt::LeftButton);
    ASSERT_EQ(tab().entries.size(), count + 2);
    EXPECT_EQ(tab().entries.at(count).text.size(), text.size());
    EXPECT_TRUE(tab().entries.at(count).text == text);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(field->isReadOnly());
    EXPECT_FALSE(note->isVisible());

    const QString word(1'000'000, u'w');
    QGuiApplication::clipboard()->setText(word);
    QTest::keySequence(field, QKeySequence::Paste);
    EXPECT_TRUE(tab().draftPrompt == word);
    QTest::keyClicks(field, u"x"_s);
    EXPECT_TRUE(tab().draftPrompt == word) << "a cut draft is never edited";
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_TRUE(tab().draftPrompt.isEmpty());
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(note->isVisible());

    // The context menu's Paste keeps it whole and shows it cut as well. (The offscreen platform
    // cannot raise a popup or grab the keyboard for it.)
    const test::ExpectQtWarnings popup({ u"does not support raise()"_s, u"does not support grabbing"_s });
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(field, &menuEvent);
    QMenu *menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu != nullptr;
    }));
    const QList<QAction *> actions = menu->actions();
    const auto paste = std::find_if(
        actions.cbegin(), actions.cend(), [](const QAction *action) { return action->text().startsWith(u"&Paste"_s); });
    ASSERT_NE(paste, actions.cend());
    (*paste)->trigger();
    menu->close();
    EXPECT_TRUE(tab().draftPrompt == word);
    EXPECT_EQ(field->text(), word.left(shownLineLimit) + u"…"_s);

    // Another tab with the same draft is another record: Ctrl+Z there gives back nothing of this
    // tab's paste, and back here the paste is no longer the one to undo.
    model->addAgentTab(OrvaneWebParitySeeds::personas().at(4), threadID);
    const QUuid other = model->thread(threadID)->agentTabs.constLast().id;
    model->setThreadDraft(word, threadID, other);
    for (const QUuid &shown : { other, tabID }) {
        bar->setTab(threadID, shown);
        QTest::keySequence(field, QKeySequence::Undo);
        EXPECT_TRUE(model->thread(threadID)->agentTabs.constLast().draftPrompt == word);
        EXPECT_TRUE(tab().draftPrompt == word);
    }
    // Nor is typing: in another tab whose draft is the typed text, Ctrl+Z undoes none of it.
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, u"Brief"_s);
    model->setThreadDraft(u"Brief"_s, threadID, other);
    bar->setTab(threadID, other);
    QTest::keySequence(field, QKeySequence::Undo);
    EXPECT_EQ(field->text(), u"Brief"_s);
    EXPECT_EQ(model->thread(threadID)->agentTabs.constLast().draftPrompt, u"Brief"_s);
}

TEST_F(AgentComposerBarTest, PersonaMentionsPrefixTheDraftOnce)
{
    auto *field = child<QLineEdit>(bar, u"draftField"_s);
    // Chosen from the menu, a mention hands the keyboard back to the message field.
    auto *menuButton = child<QAbstractButton>(bar, u"mentionMenuButton"_s);
    menuButton->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(menuButton->hasFocus());
    pick(bar, u"mentionMenu"_s, u"mention_media-strategist"_s);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(tab().draftPrompt, u"@strategist "_s);
    EXPECT_EQ(field->text(), u"@strategist "_s);
    EXPECT_EQ(field->cursorPosition(), field->text().size());
    pick(bar, u"mentionMenu"_s, u"mention_media-strategist"_s);
    EXPECT_EQ(tab().draftPrompt, u"@strategist "_s);
    pick(bar, u"mentionMenu"_s, u"mention_attribution-analyst"_s);
    EXPECT_EQ(tab().draftPrompt, u"@analyst @strategist "_s);

    model->setThreadDraft(u"@spy"_s, threadID, tabID);
    EXPECT_EQ(field->text(), u"@spy"_s);
    pick(bar, u"mentionMenu"_s, u"mention_competitor-spy"_s);
    EXPECT_EQ(tab().draftPrompt, u"@spy @spy"_s) << "a bare handle is not the prefix";
    EXPECT_EQ(tab().entries.size(), model->threads().constFirst().agentTabs.constFirst().entries.size());

    const QStringList rows = [&] {
        QStringList texts;
        for (QAction *action : child<QMenu>(bar, u"mentionMenu"_s)->actions())
            texts.append(action->text());
        return texts;
    }();
    EXPECT_EQ(rows.first(), u"@orvane · Orvane Native Operator"_s);
    EXPECT_EQ(rows.size(), 6);
}

TEST_F(AgentComposerBarTest, SlashCommandsAndChipsSendFixedTextAndDropTheDraft)
{
    model->setThreadDraft(u"typed but not sent"_s, threadID, tabID);
    const auto count = tab().entries.size();
    pick(bar, u"slashCommandMenu"_s, u"slashCommand3Action"_s);
    ASSERT_EQ(tab().entries.size(), count + 2);
    EXPECT_EQ(tab().entries.at(count).text, u"Spy on taskvane.io paid search keywords and active LinkedIn ads."_s);
    EXPECT_TRUE(tab().draftPrompt.isEmpty());
    EXPECT_EQ(child<QMenu>(bar, u"slashCommandMenu"_s)->actions().first()->text(),
        u"/media-plan — Generate Media Plan Table"_s);
    // An "&" in a persona or command name is shown, never taken for a mnemonic.
    for (const QString &menu : { u"mentionMenu"_s, u"slashCommandMenu"_s }) {
        for (QAction *action : child<QMenu>(bar, menu)->actions())
            EXPECT_TRUE(QKeySequence::mnemonic(action->text()).isEmpty()) << action->text().toStdString();
    }

    auto *row = new QuickPromptRow(context(), threadID, tabID, bar);
    QTest::mouseClick(child<QAbstractButton>(row, u"quickPromptChip2Button"_s), Qt::LeftButton);
    ASSERT_EQ(tab().entries.size(), count + 4);
    EXPECT_EQ(tab().entries.at(count + 2).text, u"Add $350/day Google Search Conquest row"_s);
    EXPECT_EQ(QuickPromptRow::quickPrompts().at(2), u"Spy on taskvane.io paid ads"_s);
}

TEST_F(AgentComposerBarTest, SyncLineAndPlaceholderFollowTheProjectAndTheTab)
{
    auto *line = child<ElidedLabel>(bar, u"syncPathLabel"_s);
    model->setSelectedProjectID(std::nullopt);
    EXPECT_EQ(line->text(), u"Local sync: ~/Documents/Orvane/campaign"_s);
    const auto &project = model->projects().constFirst();
    model->setSelectedProjectID(project.id);
    EXPECT_EQ(line->text(), u"Local sync: ~/Documents/Orvane/"_s + project.slug());
    // Too narrow for the whole path, it is cut in the middle: the project's folder ends it.
    line->resize(line->fontMetrics().horizontalAdvance(line->text()) * 3 / 4, line->height());
    EXPECT_TRUE(line->drawnText().startsWith(u"Local sync: "_s)) << line->drawnText().toStdString();
    EXPECT_TRUE(line->drawnText().endsWith(project.slug().right(12))) << line->drawnText().toStdString();

    auto *field = child<QLineEdit>(bar, u"draftField"_s);
    EXPECT_EQ(field->placeholderText(),
        u"Direct "_s + tab().personaHandle + u" to update Document, Table, Canvas, or Explore…"_s);
    model->addAgentTab(OrvaneWebParitySeeds::personas().at(4), threadID);
    const QUuid other = model->threads().constFirst().agentTabs.constLast().id;
    model->setThreadDraft(u"for the analyst"_s, threadID, other);
    bar->setTab(threadID, other);
    EXPECT_EQ(field->placeholderText(), u"Direct @analyst to update Document, Table, Canvas, or Explore…"_s);
    EXPECT_EQ(field->text(), u"for the analyst"_s) << "the draft stays with its tab";
    bar->setTab(threadID, tabID);
    EXPECT_TRUE(field->text().isEmpty());
}

} // namespace
} // namespace orvane::timelinetest

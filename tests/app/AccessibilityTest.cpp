#include "AppTestSupport.h"

#include "app/CampaignIDECommands.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAccessible>
#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

// Assistive technology reads the window through its accessibility tree: every control a person can
// click or reach with the keyboard needs a name there.

namespace {

bool isControl(const QAccessibleInterface *node)
{
    static const std::set<QAccessible::Role> clickable { QAccessible::Button, QAccessible::PushButton,
        QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox, QAccessible::PageTab,
        QAccessible::MenuItem, QAccessible::Link, QAccessible::SpinBox, QAccessible::Slider, QAccessible::ButtonMenu,
        QAccessible::ButtonDropDown, QAccessible::EditableText, QAccessible::ListItem };
    return clickable.count(node->role()) || node->state().focusable;
}

// "<class> <object name> (<role>)" of every visible control below `node` without a name or out of
// the keyboard's reach.
void collectUnnamed(QAccessibleInterface *node, QStringList &unnamed, int depth = 0)
{
    if (!node || !node->isValid() || node->state().invisible || depth > 60)
        return;
    QObject *object = node->object();
    const QWidget *widget = qobject_cast<QWidget *>(object);
    if (widget && !widget->isVisible())
        return;
    // A button the keyboard cannot reach is as lost as one without a name.
    static const std::set<QAccessible::Role> pressable { QAccessible::Button, QAccessible::PushButton,
        QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::ComboBox };
    if (widget && pressable.count(node->role()) && widget->isEnabled() && !(widget->focusPolicy() & Qt::TabFocus))
        unnamed.append(u"%1 %2 (not reachable with Tab)"_s.arg(
            QString::fromLatin1(widget->metaObject()->className()), widget->objectName()));
    if (isControl(node) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject *owner = object ? object : (node->parent() ? node->parent()->object() : nullptr);
        unnamed.append(u"%1 %2 (role %3)"_s.arg(owner ? QString::fromLatin1(owner->metaObject()->className()) : u"?"_s,
            owner ? owner->objectName() : QString(), QString::number(int(node->role()))));
    }
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), unnamed, depth + 1);
}

QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
    unnamed.removeDuplicates();
    return unnamed;
}

} // namespace

TEST(AccessibilityTest, EveryControlOfTheSignInScreenHasAName)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start({ u"--sign-in"_s });
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    const QStringList unnamed = unnamedControls(window);
    EXPECT_TRUE(unnamed.isEmpty()) << qPrintable(unnamed.join(u'\n'));
}

TEST(AccessibilityTest, EveryControlOfTheWorkspaceHasANameOnEverySurfaceAndTab)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->workspace() != nullptr; }));
    CampaignIDEWorkspaceModel &model = *window->rootView()->workspace()->model();
    const auto check = [&](const QString &where) {
        QTest::qWait(0);
        const QStringList unnamed = unnamedControls(window);
        EXPECT_TRUE(unnamed.isEmpty()) << qPrintable(where) << ":\n" << qPrintable(unnamed.join(u'\n'));
    };
    check(u"thread"_s);
    using Item = CampaignIDECommands::Item;
    for (const Item item : { Item::showPlan, Item::showCreativeStudio, Item::showReports, Item::showApprovals,
             Item::showLocalFiles, Item::showDashboard }) {
        window->commands()->action(item)->trigger();
        check(window->commands()->action(item)->text());
    }
    for (const IDEPrimaryDestination &destination :
        { IDEPrimaryDestination::projects(), IDEPrimaryDestination::campaigns(), IDEPrimaryDestination::agents(),
            IDEPrimaryDestination::assets(), IDEPrimaryDestination::connections(), IDEPrimaryDestination::reports(),
            IDEPrimaryDestination::settings() }) {
        model.setPrimaryDestination(destination);
        check(u"destination %1"_s.arg(int(destination.kind())));
    }
}

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

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

// Assistive technology reads the window through its accessibility tree: every control a person can
// click or reach with the keyboard needs a name there, and every button must be reachable with Tab.

namespace {

using Role = QAccessible::Role;
constexpr Role pressable[] = { Role::Button, Role::PushButton, Role::CheckBox, Role::RadioButton, Role::ComboBox };
constexpr Role otherControls[] = { Role::PageTab, Role::MenuItem, Role::Link, Role::SpinBox, Role::Slider,
    Role::ButtonMenu, Role::ButtonDropDown, Role::EditableText, Role::ListItem };

void collectFaults(QAccessibleInterface *node, QStringList &faults)
{
    if (!node || !node->isValid() || node->state().invisible)
        return;
    const auto *widget = qobject_cast<const QWidget *>(node->object());
    if (widget && !widget->isVisible())
        return;
    const auto is = [node](const auto &roles) { return std::ranges::find(roles, node->role()) != std::end(roles); };
    const QString what = widget ? QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName()
                                : u"role %1 in %2"_s.arg(int(node->role()))
                                      .arg(node->parent() ? node->parent()->text(QAccessible::Name) : QString());
    if ((is(pressable) || is(otherControls) || node->state().focusable)
        && node->text(QAccessible::Name).trimmed().isEmpty())
        faults.append(what + u": no name"_s);
    if (widget && is(pressable) && widget->isEnabled() && !(widget->focusPolicy() & Qt::TabFocus))
        faults.append(what + u": not reachable with Tab"_s);
    for (int i = 0; i < node->childCount(); ++i)
        collectFaults(node->child(i), faults);
}

void expectEveryControlNamed(QWidget *window, const QString &where)
{
    QStringList faults;
    collectFaults(QAccessible::queryAccessibleInterface(window), faults);
    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(where) << ":\n" << qPrintable(faults.join(u'\n'));
}

} // namespace

TEST(AccessibilityTest, EveryControlOfTheSignInScreenIsNamed)
{
    AppHarness signIn;
    OrvaneMainWindow *window = signIn.start({ u"--sign-in"_s });
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    expectEveryControlNamed(window, u"sign-in"_s);
}

TEST(AccessibilityTest, EveryControlOfTheWorkspaceIsNamedOnEverySurfaceAndTab)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->workspace() != nullptr; }));
    expectEveryControlNamed(window, u"thread"_s);
    using Item = CampaignIDECommands::Item;
    for (const Item item : { Item::showPlan, Item::showCreativeStudio, Item::showReports, Item::showApprovals,
             Item::showLocalFiles, Item::showDashboard }) {
        window->commands()->action(item)->trigger();
        expectEveryControlNamed(window, window->commands()->action(item)->text());
    }
    CampaignIDEWorkspaceModel &model = *window->rootView()->workspace()->model();
    using D = IDEPrimaryDestination;
    for (const D &destination :
        { D::projects(), D::campaigns(), D::agents(), D::assets(), D::connections(), D::reports(), D::settings() }) {
        model.setPrimaryDestination(destination);
        expectEveryControlNamed(window, u"destination %1"_s.arg(int(destination.kind())));
    }
}

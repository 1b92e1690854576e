// The application as it runs with assistive technology listening (the session's accessibility bus
// up, as a screen reader has it). Once the toolkit reports that, it shows each list of cards or
// items in turn (a destination's card grids, a thread's workbench grids, files and timeline), gives
// it the keyboard and presses an arrow key in it, then prints
//   grid <TAB> <object name> <TAB> <Name heard> <TAB> <Description heard> <TAB> <what names the item reached>
// where the heard item is the last one heard to take the focus, for each, and "done" at the end, for
// a test to compare what a screen reader would say.

#include "app/OrvaneApp.h"
#include "app/OrvaneMainWindow.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/operations/CardGrid.h"
#include "ide/views/timeline/TimelineEntryDelegate.h"
#include "ide/views/timeline/TimelineListView.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString heardName;
QString heardDescription;

void hear(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Focus)
        return;
    if (QAccessibleInterface *focused = event->accessibleInterface()) {
        heardName = focused->text(QAccessible::Name);
        heardDescription = focused->text(QAccessible::Description);
    }
}

// The list's second item as its model shows it.
QString secondItem(QWidget *list)
{
    auto *view = qobject_cast<QAbstractItemView *>(list);
    auto *grid = qobject_cast<orvane::operations::CardGrid *>(list);
    const QAbstractItemModel *items = view ? view->model() : grid ? grid->model() : nullptr;
    return items && items->rowCount() > 1 ? items->index(1, 0).data().toString() : QString();
}

// A list to try: how to show it, the key to press, and what names the item that key reaches.
struct Surface {
    QString name;
    std::function<void(orvane::CampaignIDEWorkspaceModel &)> show;
    Qt::Key key = Qt::Key_Right;
    std::function<QString(QWidget *)> reached = secondItem;
};

void print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    return orvane::runOrvane(argc, argv, [](orvane::OrvaneMainWindow &window) {
        // Asking whether it is on makes the toolkit's bridge, which then waits for the bus.
        static_cast<void>(QAccessible::isActive());
        QDBusConnection::sessionBus().interface()->startService(u"org.a11y.Bus"_s);
        const auto destination = [](orvane::IDEPrimaryDestination shown) {
            return [shown](orvane::CampaignIDEWorkspaceModel &model) { model.setPrimaryDestination(shown); };
        };
        // The first thread with its workbench on a tab; the file listing is published once written.
        const auto thread = [](orvane::IDEWorkbenchView tab) {
            return [tab](orvane::CampaignIDEWorkspaceModel &model) {
                model.openThread(model.threads().constFirst().id, tab);
                model.flushPendingWrites();
            };
        };
        using Destination = orvane::IDEPrimaryDestination;
        using Tab = orvane::IDEWorkbenchView;
        // A card that is one button is named by its action; an ad's card is reached at its control.
        const auto artboardTitle = [](QWidget *list) {
            auto *grid = static_cast<orvane::CardGridView *>(list);
            return grid->actionDelegate()->actionName(grid->model()->index(1, 0));
        };
        const auto timelineControl = [](QWidget *list) {
            auto *timeline = static_cast<orvane::TimelineListView *>(list);
            return timeline->entryDelegate()
                ->cardLayout(timeline->currentIndex())
                .hits.value(timeline->currentControl())
                .label;
        };
        const auto timelineCard = [](QWidget *list) {
            return static_cast<orvane::TimelineListView *>(list)->currentIndex().data().toString();
        };
        const QList<Surface> surfaces { { u"threadCardGrid"_s, destination(Destination::projects()) },
            { u"recommendedActionList"_s, destination(Destination::projects()) },
            { u"campaignCardList"_s, destination(Destination::campaigns()) },
            { u"personaCardGrid"_s, destination(Destination::agents()) },
            { u"assetCardGrid"_s, destination(Destination::assets()) },
            { u"artboardGridView"_s, thread(Tab::canvas), Qt::Key_Right, artboardTitle },
            { u"competitorAdGridView"_s, thread(Tab::explore) },
            { u"localFilesListView"_s, thread(Tab::localFiles), Qt::Key_Down },
            // From the lowest card in view, right to its first control, then up to the card before.
            { u"timelineListView"_s, thread(Tab::document), Qt::Key_Right, timelineControl },
            { u"timelineListView"_s, thread(Tab::document), Qt::Key_Up, timelineCard } };
        auto next = std::make_shared<qsizetype>(0);
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, surfaces, next] {
            orvane::CampaignIDEWorkspaceView *workspace = window.rootView()->workspace();
            if (!workspace || !QAccessible::isActive())
                return;
            window.activateWindow();
            if (!window.isActiveWindow())
                return;
            if (*next == surfaces.size()) {
                poll->stop();
                print(u"done"_s);
                QCoreApplication::quit();
                return;
            }
            const Surface &surface = surfaces.at(*next);
            surface.show(*workspace->model());
            auto *list = window.findChild<QWidget *>(surface.name);
            if (!list || !list->isVisible())
                return;
            ++*next;
            QAccessible::installUpdateHandler(&hear);
            list->setFocus(Qt::TabFocusReason);
            heardName.clear();
            heardDescription.clear();
            QKeyEvent press(QEvent::KeyPress, surface.key, Qt::NoModifier);
            QCoreApplication::sendEvent(list, &press);
            QAccessible::installUpdateHandler(nullptr);
            print(u"grid\t"_s + surface.name + u'\t' + heardName + u'\t' + heardDescription + u'\t'
                + surface.reached(list));
        });
        poll->start(100);
    });
}

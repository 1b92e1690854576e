// The application as it runs with assistive technology listening (the session's accessibility bus
// up, as a screen reader has it). Once the toolkit reports that, it gives the keyboard to each card
// grid of the window's destinations in turn and presses the right arrow key in it, then prints
//   grid <TAB> <object name> <TAB> <what was last heard to take the focus> <TAB> <the second card's name>
// for each, and "done" at the end, for a test to compare what a screen reader would say.

#include "app/OrvaneApp.h"
#include "app/OrvaneMainWindow.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/views/operations/CardGrid.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString lastHeard;

void hear(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Focus)
        return;
    if (QAccessibleInterface *focused = event->accessibleInterface())
        lastHeard = focused->text(QAccessible::Name);
}

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
        using Destination = orvane::IDEPrimaryDestination;
        const QList<std::pair<Destination, QString>> grids { { Destination::projects(), u"threadCardGrid"_s },
            { Destination::projects(), u"recommendedActionList"_s },
            { Destination::campaigns(), u"campaignCardList"_s }, { Destination::agents(), u"personaCardGrid"_s },
            { Destination::assets(), u"assetCardGrid"_s } };
        auto next = std::make_shared<qsizetype>(0);
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, grids, next] {
            orvane::CampaignIDEWorkspaceView *workspace = window.rootView()->workspace();
            if (!workspace || !QAccessible::isActive())
                return;
            window.activateWindow();
            if (!window.isActiveWindow())
                return;
            if (*next == grids.size()) {
                poll->stop();
                print(u"done"_s);
                QCoreApplication::quit();
                return;
            }
            const auto &[destination, name] = grids.at(*next);
            workspace->model()->setPrimaryDestination(destination);
            auto *grid = window.findChild<orvane::operations::CardGrid *>(name);
            if (!grid || !grid->isVisible())
                return;
            ++*next;
            QAccessible::installUpdateHandler(&hear);
            grid->setFocus(Qt::TabFocusReason);
            lastHeard.clear();
            QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
            QCoreApplication::sendEvent(grid, &right);
            QAccessible::installUpdateHandler(nullptr);
            const QAbstractItemModel *cards = grid->model();
            const QString second = cards && cards->rowCount() > 1 ? cards->index(1, 0).data().toString() : QString();
            print(u"grid\t"_s + name + u'\t' + lastHeard + u'\t' + second);
        });
        poll->start(100);
    });
}

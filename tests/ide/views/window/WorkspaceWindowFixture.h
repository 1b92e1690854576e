#pragma once

#include "testsupport/Pictures.h"

#include "../WidgetProbes.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "ide/views/window/LiveContextRefresher.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WorkspaceSheets.h"
#include "ide/views/window/WorkspaceWindowController.h"
#include "kit/auth/AccountStore.h"
#include "kit/session/SessionStore.h"
#include "testsupport/QtMessages.h"
#include "testsupport/service/StandInService.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>

namespace orvane::windowtest {

using namespace Qt::StringLiterals;
using test::child;
using test::clickOn;
using test::colorOf;
using test::textOf;

// The real workspace window on a temporary home, beside the stand-in service (the environment's
// base URL points at it), with a session signed out or signed in with an in-memory account and a
// file-manager reveal that only records what it was asked to show.
class WorkspaceWindowTest : public test::WorkspaceModelTest {
protected:
    void TearDown() override
    {
        // Let the service work in flight end (a refresh, a new project's copy on the service), so
        // its tasks finish before the process does.
        if (window) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !window->model()->isSyncingServer() && window->model()->projectMirrors().idle(); }, 5000));
        }
        window.reset();
        session.reset();
    }

    static SignedInAccount account()
    {
        return SignedInAccount {
            .apiKey = *APIKey::fromText(u"orv_test_0123456789"_s),
            .email = u"ops@example.com"_s,
            .name = u"Ops"_s,
            .workspaceName = u"Growth Team"_s,
            .readOnly = false,
        };
    }

    void makeSession(std::optional<SignedInAccount> signedIn = std::nullopt)
    {
        session = std::make_unique<SessionStore>(OrvaneEnvironment::production,
            std::make_shared<MemoryAccountStore>(signedIn), &network, std::chrono::milliseconds(20),
            platform::UserDefaults::standard());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !session->isRestoring(); }, 5000));
    }

    // Builds the window (with a signed-out session unless one was made) and, unless told not to,
    // shows it at the scene's default size and waits until it is active.
    void makeWindow(CampaignIDEWorkspaceView::Services services = {}, bool show = true)
    {
        if (!session)
            makeSession();
        if (!services.revealFolder)
            services.revealFolder = [this](const QString &folder) { revealed.append(folder); };
        // The offscreen platform's own screen is smaller than the scene's size: unless told, the
        // window stands on a screen with room for every arrangement.
        if (!services.screenArea)
            services.screenArea = [](const QWidget *) { return QRect(0, 0, 3840, 2160); };
        window = std::make_unique<CampaignIDEWorkspaceView>(
            session.get(), nullptr, [this] { ++signInRequests; }, std::move(services));
        // A notice stays while a test reads it; the toast's own case shortens it.
        window->model()->setNoticeDuration(std::chrono::seconds(30));
        window->resize(1440, 900);
        if (show) {
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            // The first refresh starts once the first frame is painted.
            ASSERT_TRUE(QTest::qWaitFor([&] { return window->refresher()->refreshCount() > 0; }));
        }
    }

    [[nodiscard]] CampaignIDEWorkspaceModel &model() const { return *window->model(); }
    // Lets the columns finish sliding, the colours finish easing and the layouts settle.
    void settle() const
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return find(u"drawerColumn"_s)->width() == (model().agentDrawerOpen() ? 341 : 0)
                    && !window->findChild<QWidget *>(u"themeCrossFade"_s);
            },
            3000));
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    [[nodiscard]] QString labelText(const QString &name) const
    {
        auto *label = find<ElidedLabel>(name);
        return label ? label->text() : QString();
    }
    [[nodiscard]] WorkspaceWindowState &state() const { return *window->viewState(); }

    // A closed sheet lingers until its deferred deletion: the widget on screen wins.
    template <typename T = QWidget> [[nodiscard]] T *find(const QString &name) const
    {
        const QList<T *> all = window->findChildren<T *>(name);
        for (T *widget : all) {
            if (widget->isVisible())
                return widget;
        }
        EXPECT_FALSE(all.isEmpty()) << name.toStdString();
        return all.isEmpty() ? nullptr : all.constFirst();
    }

    void click(const QString &buttonName) { test::clickOn(find<QAbstractButton>(buttonName)); }

    // Opens a top-bar menu with its button and chooses the entry with that object name (the nth
    // one with the name).
    void choose(const QString &buttonName, const QString &menuName, const QString &actionName, int nth = 0)
    {
        click(buttonName);
        auto *menu = find<QMenu>(menuName);
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        QList<QAction *> matching;
        for (QAction *action : menu->actions()) {
            if (action->objectName() == actionName)
                matching.append(action);
        }
        ASSERT_GT(matching.size(), nth) << actionName.toStdString();
        menu->hide();
        matching.at(nth)->trigger();
    }

    // Waits for the sheet to be on screen.
    WorkspaceSheetFrame *shownSheet(WorkspaceSheet which)
    {
        WorkspaceSheetFrame *sheet = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] {
                sheet = window->sheets()->sheet(which);
                return sheet && sheet->isVisible();
            },
            2000);
        EXPECT_TRUE(shown);
        return shown ? sheet : nullptr;
    }

    // Waits for the sheet to be gone (closed and deleted).
    [[nodiscard]] bool sheetGone(WorkspaceSheet which)
    {
        return QTest::qWaitFor([&] { return window->sheets()->sheet(which) == nullptr; }, 2000);
    }

    // Where the test keeps the window's pictures: ORVANE_GRAB_DIR, when set.
    void keepPicture(const QString &name) const { test::keepPicture(window.get(), name); }

    // One region of the window at twice its size, for a close look at small controls.
    void keepCloseUp(QWidget *region, const QString &name) const { test::keepPicture(region, name, 2); }

    // The offscreen platform cannot pass a window's size limits on, raise a popup menu or let it
    // grab the keyboard.
    test::ExpectQtWarnings offscreenLimits { { u"does not support propagateSizeHints"_s, u"does not support raise()"_s,
        u"does not support grabbing the keyboard"_s } };
    test::StandInService service;
    test::ScopedEnvironmentVariable baseURL { "ORVANE_API_BASE_URL", service.baseURL().toString().toUtf8() };
    QNetworkAccessManager network;
    std::unique_ptr<SessionStore> session;
    std::unique_ptr<CampaignIDEWorkspaceView> window;
    QStringList revealed;
    int signInRequests = 0;
};

// --- Texts cut at a column's edge ---------------------------------------------------------------

// Every one-line text of `region` is shown whole, or ends in "…" where its row has no room for it:
// none is cut mid-glyph by the label's own width or by a parent narrower than the label. Strips that
// scroll sideways (agent chips, quick prompts) and the timeline keep their texts whole and are
// skipped.
inline void expectNoTextCut(QWidget *region, const QString &where)
{
    ASSERT_NE(region, nullptr) << where.toStdString();
    for (QLabel *label : region->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(region) || label->wordWrap() || label->text().isEmpty())
            continue;
        bool scrolls = false;
        for (QWidget *w = label->parentWidget(); w && w != region; w = w->parentWidget())
            scrolls = scrolls || qobject_cast<QAbstractScrollArea *>(w);
        if (scrolls)
            continue;
        const std::string what = where.toStdString() + ' ' + region->objectName().toStdString() + " \""
            + label->text().toStdString() + '"';
        if (auto *elided = qobject_cast<ElidedLabel *>(label)) {
            // Whole, cut with an ellipsis (at its end, or in its middle for a path), or given no room.
            const QString drawn = elided->drawnText();
            EXPECT_TRUE(drawn == label->text() || drawn.isEmpty() || drawn.contains(u'\u2026'))
                << what << " drawn as " << drawn.toStdString();
        } else {
            EXPECT_GE(label->width(), label->sizeHint().width()) << what;
        }
        for (QWidget *w = label->parentWidget(); w; w = w->parentWidget()) {
            const QRect inParent(label->mapTo(w, QPoint()), label->size());
            EXPECT_TRUE(w->rect().contains(inParent))
                << what << " is cut by " << w->metaObject()->className() << ' ' << w->objectName().toStdString();
            if (w == region)
                break;
        }
    }
}

} // namespace orvane::windowtest

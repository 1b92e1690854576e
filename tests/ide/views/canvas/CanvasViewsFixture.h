#pragma once

#include "testsupport/Pictures.h"

#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QAbstractItemView>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace orvane::canvastest {

using namespace Qt::StringLiterals;

// The real window on a temporary home (not shown), with one tab view of this folder built from the
// window's own context and shown on its own, and the notices the model shows recorded as they come.
class CanvasViewsTest : public windowtest::WorkspaceWindowTest {
protected:
    void SetUp() override
    {
        makeWindow({}, false);
        QObject::connect(window->model(), &CampaignIDEWorkspaceModel::statusNoticeChanged, window.get(), [this] {
            if (const auto notice = window->model()->statusNotice())
                notices.append(*notice);
        });
    }
    void TearDown() override
    {
        view.reset();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window || window->model()->agentTurns().idle(); }, 5000));
        windowtest::WorkspaceWindowTest::TearDown();
    }

    [[nodiscard]] WorkspaceViewContext context() const
    {
        WorkspaceViewContext context = WorkspaceViewContext::forModel(*window->model());
        context.session = window->session();
        context.theme = window->themeSource();
        context.state = window->viewState();
        context.controller = window->controller();
        return context;
    }

    template <typename View> View *show(QSize size = { 1180, 760 })
    {
        auto *built = new View(context());
        view.reset(built);
        built->resize(size);
        built->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(built));
        return built;
    }

    // Makes the shown view the active window, so that the keyboard reaches it.
    void activate() const
    {
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    template <typename T = QWidget> [[nodiscard]] T *child(const QString &name) const
    {
        return test::child<T>(view.get(), name);
    }
    void clickButton(const QString &name) { test::clickOn(view.get(), name); }

    // Clicks a point of an item view's row (its centre unless told otherwise).
    static void clickRow(QAbstractItemView *itemView, int row, std::optional<QPoint> at = std::nullopt)
    {
        const QModelIndex index = itemView->model()->index(row, 0);
        const QRect rect = itemView->visualRect(index);
        QTest::mouseClick(itemView->viewport(), Qt::LeftButton, {}, at.value_or(rect.center()));
    }

    // Where the tests keep their pictures: ORVANE_GRAB_DIR, when set.
    void grab(const QString &name) const { test::keepPicture(view.get(), name); }

    std::unique_ptr<QWidget> view;
    QStringList notices;
};

} // namespace orvane::canvastest

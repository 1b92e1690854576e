#pragma once

#include "testsupport/Pictures.h"

#include "WidgetProbes.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WorkspaceViewRegistry.h"
#include "testsupport/QtMessages.h"

#include <QLocale>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::test {

using namespace Qt::StringLiterals;

// A view on its own, in a window of its own, over a model started in a temporary home (sample
// projects, seed threads), in the dark theme and an English locale.
class StandaloneViewTest : public WorkspaceModelTest {
protected:
    void SetUp() override
    {
        previousLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        model = makeModel();
        model->setNoticeDuration(std::chrono::milliseconds(5000));
        theme = std::make_unique<ThemeSource>(true);
    }
    void TearDown() override
    {
        // Agent turns answer after a pause: let them end before the model goes.
        EXPECT_TRUE(QTest::qWaitFor([this] { return model->agentTurns().idle(); }, 5000));
        host.reset();
        model.reset();
        QLocale::setDefault(previousLocale);
    }

    [[nodiscard]] WorkspaceViewContext context() const
    {
        WorkspaceViewContext context = WorkspaceViewContext::forModel(*model);
        context.theme = theme.get();
        return context;
    }

    // Shows `widget` filling an active window of the given size.
    void show(QWidget *widget, QSize size)
    {
        host = std::make_unique<QWidget>();
        host->setPalette(theme->theme().palette());
        host->setAutoFillBackground(true);
        auto *layout = new QVBoxLayout(host.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(widget);
        host->resize(size);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    }
    template <typename View> View *show(QSize size = QSize(1180, 860))
    {
        auto *view = new View(context());
        show(view, size);
        return view;
    }

    template <typename T = QWidget> [[nodiscard]] T *find(const QString &name) const
    {
        return child<T>(host.get(), name);
    }
    void click(const QString &buttonName) { clickOn(host.get(), buttonName); }

    [[nodiscard]] CampaignIDEThread thread(const QUuid &id) const
    {
        const CampaignIDEThread *found = model->thread(id);
        EXPECT_NE(found, nullptr);
        return found ? *found : CampaignIDEThread {};
    }
    [[nodiscard]] QString notice() const { return model->statusNotice().value_or(QString()); }

    // Set ORVANE_GRAB_DIR to keep pictures of the window.
    void keepPicture(const QString &name) const { test::keepPicture(host.get(), name); }

    test::ExpectQtWarnings offscreenLimits { { u"does not support propagateSizeHints"_s } };
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    std::unique_ptr<ThemeSource> theme;
    std::unique_ptr<QWidget> host;
    QLocale previousLocale;
};

} // namespace orvane::test

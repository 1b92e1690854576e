#pragma once

#include "testsupport/Pictures.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WorkspaceViewRegistry.h"
#include "testsupport/QtMessages.h"

#include <QAbstractButton>
#include <QDir>
#include <QLocale>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::workbenchtest {

using namespace Qt::StringLiterals;

// A workbench tab view on its own, in a window of its own, over a model started in a temporary
// home (sample projects, seed threads), in an English locale.
class WorkbenchViewTest : public test::WorkspaceModelTest {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        model = makeModel();
        model->setNoticeDuration(std::chrono::milliseconds(5000));
        theme = std::make_unique<ThemeSource>(true);
    }
    void TearDown() override
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return model->agentTurns().idle(); }, 5000));
        host.reset();
        model.reset();
        QLocale::setDefault(QLocale::c());
    }

    [[nodiscard]] WorkspaceViewContext context() const
    {
        return WorkspaceViewContext { .model = model.get(),
            .session = nullptr,
            .theme = theme.get(),
            .state = &model->windowState(),
            .mirror = model->mirror(),
            .serverSync = model->serverSync() };
    }

    // Builds the view in a window of the given size and shows it.
    template <typename View> View *show(QSize size = QSize(1180, 860))
    {
        host = std::make_unique<QWidget>();
        host->setPalette(theme->theme().palette());
        host->setAutoFillBackground(true);
        auto *layout = new QVBoxLayout(host.get());
        layout->setContentsMargins(0, 0, 0, 0);
        auto *view = new View(context(), host.get());
        layout->addWidget(view);
        host->resize(size);
        host->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        host->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(host.get()));
        return view;
    }

    template <typename T = QWidget> [[nodiscard]] T *find(const QString &name) const
    {
        T *found = host ? host->findChild<T *>(name) : nullptr;
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    void click(const QString &buttonName)
    {
        auto *button = find<QAbstractButton>(buttonName);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible()) << buttonName.toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    // The thread the views show: the first seed thread, opened, with the given media plan.
    QUuid openThread(const QList<CampaignMediaPlanRow> &rows)
    {
        const QUuid id = model->threads().first().id;
        model->openThread(id);
        model->mutateThread(id, [&rows](CampaignIDEThread &thread) { thread.mediaPlanRows = rows; });
        model->flushPendingWrites();
        return id;
    }
    [[nodiscard]] CampaignIDEThread thread(const QUuid &id) const
    {
        for (const CampaignIDEThread &candidate : model->threads()) {
            if (candidate.id == id)
                return candidate;
        }
        ADD_FAILURE() << "no such thread";
        return {};
    }

    static CampaignMediaPlanRow row(const QString &name, double daily, double cpa, const QString &status = u"Draft"_s)
    {
        return CampaignMediaPlanRow::make(QUuid::createUuid(), u"LinkedIn"_s, name, u"Prospecting"_s, u"Ops leaders"_s,
            u"Single Image 1:1"_s, daily, std::nullopt, u"Target CPA"_s, cpa, qint64(daily * 30 / std::max(cpa, 1.0)),
            status);
    }

    [[nodiscard]] QString notice() const { return model->statusNotice().value_or(QString()); }

    // Set ORVANE_GRAB_DIR to keep pictures of the views.
    void keepPicture(const QString &name) const { test::keepPicture(host.get(), name); }

    test::ExpectQtWarnings offscreenLimits { { u"does not support propagateSizeHints"_s } };
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    std::unique_ptr<ThemeSource> theme;
    std::unique_ptr<QWidget> host;
};

} // namespace orvane::workbenchtest

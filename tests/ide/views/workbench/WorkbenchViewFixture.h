#pragma once

#include "../StandaloneViewFixture.h"

#include <QAbstractButton>
#include <QDir>

namespace orvane::workbenchtest {

using namespace Qt::StringLiterals;

// A workbench tab view on its own, showing the first seed thread.
class WorkbenchViewTest : public test::StandaloneViewTest {
protected:
<<<<<<< HEAD
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
        WorkspaceViewContext context = WorkspaceViewContext::forModel(*model);
        context.theme = theme.get();
        return context;
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

=======
>>>>>>> main
    // The thread the views show: the first seed thread, opened, with the given media plan.
    QUuid openThread(const QList<CampaignMediaPlanRow> &rows)
    {
        const QUuid id = model->threads().first().id;
        model->openThread(id);
        model->mutateThread(id, [&rows](CampaignIDEThread &thread) { thread.mediaPlanRows = rows; });
        model->flushPendingWrites();
        return id;
    }

    static CampaignMediaPlanRow row(const QString &name, double daily, double cpa, const QString &status = u"Draft"_s)
    {
        return CampaignMediaPlanRow::make(QUuid::createUuid(), u"LinkedIn"_s, name, u"Prospecting"_s, u"Ops leaders"_s,
            u"Single Image 1:1"_s, daily, std::nullopt, u"Target CPA"_s, cpa, qint64(daily * 30 / std::max(cpa, 1.0)),
            status);
    }
};

} // namespace orvane::workbenchtest

#pragma once

#include "ide/records/CampaignRecommendedNextAction.h"
#include "ide/views/operations/CardGrid.h"
#include "ide/views/operations/RecordListModel.h"

#include <QPointer>

namespace orvane {
class ThemeSource;
}

namespace orvane::operations {

class ThreadListModel;

using HomeActionListModel = RecordListModel<CampaignRecommendedNextAction>;

// A thread's card on the operations home: workbench badge and update time, title, the last
// message (two lines at most), tab and row counts with "Open Thread →". The whole card is one
// button (openPart).
class ThreadCardDelegate final : public CardDelegate {
public:
    static constexpr int openPart = 1;

    ThreadCardDelegate(const ThemeSource &theme, const ThreadListModel &threads);

    [[nodiscard]] int cardHeight(const QModelIndex &index, int width) const override;
    void paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const override;
    [[nodiscard]] QList<int> parts(const QModelIndex &) const override { return { openPart }; }
    [[nodiscard]] QRect partRect(const QModelIndex &index, const QRect &rect, int part) const override;

private:
    QPointer<const ThemeSource> m_theme;
    const ThreadListModel &m_threads;
};

// A recommended next action: category and impact, title, rationale, and "Start this task →"
// (startPart), the only part of the row that takes clicks.
class RecommendedActionDelegate final : public CardDelegate {
public:
    static constexpr int startPart = 1;

    RecommendedActionDelegate(const ThemeSource &theme, const HomeActionListModel &actions);

    [[nodiscard]] int cardHeight(const QModelIndex &index, int width) const override;
    void paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const override;
    [[nodiscard]] QList<int> parts(const QModelIndex &) const override { return { startPart }; }
    [[nodiscard]] QRect partRect(const QModelIndex &index, const QRect &rect, int part) const override;

private:
    QPointer<const ThemeSource> m_theme;
    const HomeActionListModel &m_actions;
};

} // namespace orvane::operations

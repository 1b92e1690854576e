#pragma once

#include "ide/views/governance/GovernanceWidgets.h"

#include <QDate>
#include <QLocale>

namespace orvane {

namespace governance {
class ReportListModel;
class ReportListView;
class ReportCardDelegate;
} // namespace governance

// The reports surface: the workspace's report artifacts as cards (kind, title, creation time, all
// plain text; a report's own page is never shown here), a button that generates a local
// attribution report, and on every card a button that opens the local reports folder.
class ReportsSurfaceView final : public governance::GovernanceSurface {
    Q_OBJECT
public:
    ReportsSurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    // "Executive Multi-Touch Attribution Report (<date>)", the date in the locale's abbreviated
    // style without the time ("Dec 5, 2026" in American English).
    [[nodiscard]] static QString generatedReportTitle(const QDate &date, const QLocale &locale = QLocale());
    // The locale's abbreviated date: its long format with the month's short name and no weekday.
    [[nodiscard]] static QString abbreviatedDate(const QDate &date, const QLocale &locale);

    [[nodiscard]] governance::ReportListModel *reportModel() const { return m_reports; }
    [[nodiscard]] governance::ReportListView *reportList() const { return m_list; }

private:
    governance::ReportListModel *m_reports;
    governance::ReportListView *m_list;
    governance::ReportCardDelegate *m_delegate;
};

} // namespace orvane

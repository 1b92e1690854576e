#include "ide/views/governance/ReportsSurfaceView.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/views/governance/ReportCardDelegate.h"
#include "ide/views/governance/ReportListModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QRegularExpression>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

using namespace governance;

ReportsSurfaceView::ReportsSurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : GovernanceSurface(context, parent)
{
    setObjectName(u"reportsSurface"_s);
    auto *generate = makePrimaryButton(*context.theme, u"+ Generate New Local Report"_s, 11, QMargins(12, 7, 12, 7));
    generate->setObjectName(u"generateReportButton"_s);
    addHeaderRow(u"ATTRIBUTION REPORTS & INCREMENTAL LIFT"_s,
        u"Local HTML Reports & Multi-Touch Attribution Artifacts"_s, generate);
    connect(generate, &QAbstractButton::clicked, this, [this] {
        if (m_context.mirror)
            m_context.mirror->createLocalReport(generatedReportTitle(QDate::currentDate()), u"attribution"_s);
    });

    m_reports = new ReportListModel(*context.mirror, this);
    m_delegate = new ReportCardDelegate(*context.theme, this);
    m_list = new ReportListView;
    m_list->setItemDelegate(m_delegate);
    m_list->setModel(m_reports);
    column()->addWidget(m_list);
    // Every card opens the same folder: the reports folder of the local workspace.
    const auto reveal = [this] {
        if (m_context.controller)
            m_context.controller->revealReportsFolderInFinder();
    };
    connect(m_delegate, &ReportCardDelegate::openRequested, this, reveal);
    // Return on the keyboard's card does what its button does.
    connect(m_list, &QAbstractItemView::activated, this, reveal);
    connect(context.theme, &ThemeSource::themeChanged, m_list->viewport(), qOverload<>(&QWidget::update));
}

QString ReportsSurfaceView::abbreviatedDate(const QDate &date, const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::LongFormat);
    // No weekday, with whatever separates it from the rest.
    static const QRegularExpression weekday(u"d{4}[,.]?\\s*|[,.]?\\s*d{4}"_s);
    format.remove(weekday);
    // The month's short name in place of its full one.
    static const QRegularExpression fullMonth(u"M{4}"_s);
    format.replace(fullMonth, u"MMM"_s);
    return locale.toString(date, format.trimmed());
}

QString ReportsSurfaceView::generatedReportTitle(const QDate &date, const QLocale &locale)
{
    return u"Executive Multi-Touch Attribution Report ("_s + abbreviatedDate(date, locale) + u')';
}

} // namespace orvane

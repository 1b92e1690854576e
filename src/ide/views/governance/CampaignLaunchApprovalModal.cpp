#include "ide/views/governance/CampaignLaunchApprovalModal.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/governance/GovernanceWidgets.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/workbench/WorkbenchFormat.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

using namespace governance;

CampaignLaunchApprovalModal::CampaignLaunchApprovalModal(
    const WorkspaceViewContext &context, const CampaignLaunchRequest &request, QWidget *parent)
    : Panel(*context.theme, ThemeColor::panelBackground, parent), m_context(context), m_request(request)
{
    setObjectName(u"launchApprovalModal"_s);
    setFixedWidth(contentWidth);
    const ThemeSource &theme = *context.theme;

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(14);

    auto *kicker = new KickerLabel(theme, u"HUMAN-IN-THE-LOOP EXECUTION GATE"_s, ThemeColor::accentAmber);
    kicker->setObjectName(u"launchKickerLabel"_s);
    column->addWidget(kicker);
    auto *headline = new ThemedLabel(
        theme, labelText(headlineText(*context.model, request)), themeFont(18, QFont::Bold), ThemeColor::textPrimary);
    headline->setObjectName(u"launchHeadlineLabel"_s);
    headline->setWordWrap(true);
    column->addWidget(headline);
    auto *detail = new ThemedLabel(
        theme, detailLine(*context.model, request), themeFont(12, QFont::Normal), ThemeColor::textSecondary);
    detail->setObjectName(u"launchDetailLabel"_s);
    detail->setWordWrap(true);
    column->addWidget(detail);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    ClickableButton::Look bare;
    bare.padding = QMargins(6, 4, 6, 4);
    auto *cancel = new ClickableButton(theme, bare);
    cancel->setObjectName(u"cancelLaunchButton"_s);
    cancel->addText(u"Cancel"_s, QGuiApplication::font(), ThemeColor::textPrimary);
    buttons->addWidget(cancel, 0, Qt::AlignVCenter);

    ClickableButton::Look primary;
    primary.fill = ThemeColor::accentLimeFill;
    primary.padding = QMargins(14, 7, 14, 7);
    auto *confirm = new ClickableButton(theme, primary);
    confirm->setObjectName(u"confirmLaunchButton"_s);
    m_confirmLabel = confirm->addText(confirmText(false), themeFont(12, QFont::Bold), textOnLimeFill());
    m_confirmLabel->setObjectName(u"confirmLaunchLabel"_s);
    buttons->addWidget(confirm, 0, Qt::AlignVCenter);
    column->addLayout(buttons);

    // The model takes the sheet down by clearing its confirmation; the sheet is deleted after the
    // click has been handled.
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->cancelLaunch();
    });
    connect(confirm, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->confirmExecution();
    });
    connect(context.model, &CampaignIDEWorkspaceModel::pendingLaunchRequestChanged, this,
        &CampaignLaunchApprovalModal::syncConfirmLabel);
    syncConfirmLabel();
}

QString CampaignLaunchApprovalModal::headlineText(
    const CampaignIDEWorkspaceModel &model, const CampaignLaunchRequest &request)
{
    // The project the detail line speaks of; the request's own name only when it is gone.
    const CampaignIDEProject *project = model.project(request.projectID);
    return u"Approve & Launch "_s + (project ? project->name : request.projectName());
}

std::optional<CampaignIDEThread> CampaignLaunchApprovalModal::planThread(
    const CampaignIDEWorkspaceModel &model, const QUuid &projectID)
{
    std::optional<CampaignIDEThread> thread = model.activeThread();
    if (thread && thread->projectID == projectID)
        return thread;
    for (const CampaignIDEThread &candidate : model.threads()) {
        if (candidate.projectID == projectID)
            return candidate;
    }
    return std::nullopt;
}

QString CampaignLaunchApprovalModal::detailLine(
    const CampaignIDEWorkspaceModel &model, const CampaignLaunchRequest &request)
{
    const std::optional<CampaignIDEThread> thread = planThread(model, request.projectID);
    const CampaignIDEThread shown = thread.value_or(CampaignIDEThread {});
    QList<QString> channels;
    for (const CampaignMediaPlanRow &row : shown.mediaPlanRows) {
        if (!channels.contains(row.channel))
            channels.append(row.channel);
    }
    const CampaignIDEProject *project = model.project(request.projectID);
    const qsizetype approved = project ? project->approvedCreativeCount() : 0;
    const qsizetype total = project ? project->creatives.size() : 0;
    return u"Budget: "_s % workbench::monthlyPlannedSpend(shown) % u"/mo · Channels: "_s
        % (channels.isEmpty() ? u"None"_s : channels.join(u", "_s)) % u" · Approved Creatives: "_s
        % QString::number(approved) % u'/' % QString::number(total);
}

QString CampaignLaunchApprovalModal::confirmText(bool executing)
{
    return executing ? u"Executing…"_s : u"Confirm & Execute Campaign"_s;
}

void CampaignLaunchApprovalModal::syncConfirmLabel()
{
    const bool executing = m_context.model && m_context.model->isExecutingLaunch();
    m_confirmLabel->setText(confirmText(executing));
    updateGeometry();
}

// The width is fixed; the height is what the wrapped texts need at that width.
QSize CampaignLaunchApprovalModal::sizeHint() const
{
    const int height = layout() && layout()->hasHeightForWidth() ? layout()->heightForWidth(contentWidth)
                                                                 : QWidget::sizeHint().height();
    return { contentWidth, height };
}

} // namespace orvane

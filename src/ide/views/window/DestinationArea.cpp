#include "ide/views/window/DestinationArea.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WorkspaceTitles.h"

#include <QLabel>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

DestinationArea::DestinationArea(
    const WorkspaceViewRegistry &registry, const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_registry(registry), m_context(context), m_stack(new QStackedLayout(this))
{
    setObjectName(u"destinationArea"_s);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(0, 0);
    CampaignIDEWorkspaceModel *model = context.model;
    connect(model, &CampaignIDEWorkspaceModel::primaryDestinationChanged, this, &DestinationArea::scheduleSync);
    // A thread that appears or goes away can change the surface of a thread destination.
    connect(model, &CampaignIDEWorkspaceModel::threadsChanged, this, &DestinationArea::scheduleSync);
    connect(model, &CampaignIDEWorkspaceModel::threadInserted, this, &DestinationArea::scheduleSync);
    connect(model, &CampaignIDEWorkspaceModel::threadRemoved, this, &DestinationArea::scheduleSync);
    sync();
}

void DestinationArea::scheduleSync()
{
    if (m_syncScheduled)
        return;
    m_syncScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_syncScheduled = false;
        sync();
    });
}

void DestinationArea::sync()
{
    m_syncScheduled = false;
    CampaignIDEWorkspaceModel *model = m_context.model;
    if (!model)
        return;
    const IDEPrimaryDestination destination = model->primaryDestination();
    const DestinationSurface surface = surfaceFor(destination, *m_context.threads);
    if (m_view && m_surface == surface) {
        m_view->showDestination(destination);
        return;
    }
    DestinationView *previous = m_view;
    m_view = m_registry.makeSurface(surface, m_context, this);
    m_surface = surface;
    m_view->limitWidth(m_widthLimit);
    m_stack->addWidget(m_view);
    m_view->showDestination(destination);
    m_stack->setCurrentWidget(m_view);
    if (previous) {
        m_stack->removeWidget(previous);
        previous->hide();
        previous->deleteLater();
    }
}

void DestinationArea::setWidthLimit(std::optional<int> width)
{
    if (width == m_widthLimit)
        return;
    m_widthLimit = width;
    if (m_view)
        m_view->limitWidth(width);
}

DestinationPlaceholder::DestinationPlaceholder(
    DestinationSurface surface, const WorkspaceViewContext &context, QWidget *parent)
    : DestinationView(parent), m_surface(surface), m_context(context)
{
    setObjectName(u"destinationPlaceholder"_s);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(28, 24, 28, 24);
    column->setSpacing(8);
    m_title = new QLabel;
    m_title->setObjectName(u"destinationTitleLabel"_s);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_title->setFont(themeFont(22, QFont::Bold));
    column->addWidget(m_title);
    column->addStretch(1);

    const auto retitle = [this] { updateTitle(); };
    connect(context.model, &CampaignIDEWorkspaceModel::threadChanged, this, retitle);
    connect(context.model, &CampaignIDEWorkspaceModel::threadsChanged, this, retitle);
    connect(context.theme, &ThemeSource::themeChanged, this, retitle);
}

void DestinationPlaceholder::showDestination(const IDEPrimaryDestination &destination)
{
    m_destination = destination;
    updateTitle();
}

QString DestinationPlaceholder::title() const
{
    return m_title->text();
}

void DestinationPlaceholder::updateTitle()
{
    if (!m_context.model || !m_context.theme)
        return;
    // A thread destination whose thread is gone shows the operations home.
    const IDEPrimaryDestination shown
        = m_surface == DestinationSurface::operationsHome ? IDEPrimaryDestination::projects() : m_destination;
    m_title->setText(destinationTitle(*m_context.model, shown));
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::WindowText, m_context.theme->theme().textPrimary());
    m_title->setPalette(palette);
}

} // namespace orvane

#include "ide/views/operations/AgentsCatalogSurfaceView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/operations/CardPainting.h"
#include "ide/views/operations/OperationsTexts.h"
#include "platform/ui/Symbols.h"

#include <QPainter>

#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane::operations {
namespace {

constexpr int padding = 14;
constexpr int spacing = 10;
constexpr int iconSize = 14;
constexpr int headerGap = 8;

QFont nameFont()
{
    return themeFont(14, QFont::Bold);
}
QFont handleFont()
{
    return themeFont(11, QFont::Bold, true);
}
QFont roleFont()
{
    return themeFont(11, QFont::DemiBold);
}
QFont specialtyFont()
{
    return themeFont(12);
}
cards::ButtonLabel launchLabel(const OrvaneAgentPersona &persona)
{
    return { operationstexts::launchButton(persona), themeFont(11, QFont::Bold), QMargins(12, 7, 12, 7) };
}

struct PersonaCardLayout {
    QRect icon, name, handle, role, specialty, launch;
};

PersonaCardLayout layoutPersonaCard(const OrvaneAgentPersona &persona, const QRect &rect)
{
    using namespace cards;
    PersonaCardLayout layout;
    const QRect inner = rect.adjusted(padding, padding, -padding, -padding);
    const int width = inner.width();
    const int header = std::max({ iconSize, lineHeight(nameFont()), lineHeight(handleFont()) });
    int y = inner.top();
    layout.icon = QRect(inner.left(), y + (header - iconSize) / 2, iconSize, iconSize);
    const int handleWidth = qMin(textWidth(persona.handle, handleFont()), width / 2);
    layout.handle = QRect(inner.right() + 1 - handleWidth, y, handleWidth, header);
    const int nameLeft = layout.icon.right() + 1 + headerGap;
    layout.name = QRect(nameLeft, y, qMax(0, layout.handle.left() - headerGap - nameLeft), header);
    y += header + spacing;
    const int roleHeight = textHeight(persona.role, roleFont(), width);
    layout.role = QRect(inner.left(), y, width, roleHeight);
    y += roleHeight + spacing;
    const int specialtyHeight = textHeight(persona.specialty, specialtyFont(), width);
    layout.specialty = QRect(inner.left(), y, width, specialtyHeight);
    y += specialtyHeight + spacing;
    layout.launch = QRect(inner.left(), y, width, launchLabel(persona).size().height());
    return layout;
}

} // namespace

PersonaCardDelegate::PersonaCardDelegate(const ThemeSource &theme, const PersonaListModel &personas)
    : m_theme(&theme), m_personas(personas)
{
}

int PersonaCardDelegate::cardHeight(const QModelIndex &index, int width) const
{
    return layoutPersonaCard(m_personas.at(index.row()), QRect(0, 0, width, 0)).launch.bottom() + 1 + padding;
}

void PersonaCardDelegate::paintCard(
    QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const
{
    if (!m_theme)
        return;
    using namespace cards;
    const OrvaneWebTheme theme = m_theme->theme();
    const OrvaneAgentPersona &persona = m_personas.at(index.row());
    const PersonaCardLayout layout = layoutPersonaCard(persona, rect);
    drawCard(painter, rect, theme);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.drawPixmap(layout.icon.topLeft(),
        ui::symbolPixmap(persona.icon, theme.accentLime(), iconSize, ratio, ui::SymbolWeight::bold));
    drawLine(painter, layout.name, persona.name, nameFont(), theme.textPrimary());
    drawLine(painter, layout.handle, persona.handle, handleFont(), theme.accentCyan(), Qt::AlignRight);
    drawText(painter, layout.role, persona.role, roleFont(), theme.accentLime());
    drawText(painter, layout.specialty, persona.specialty, specialtyFont(), theme.textSecondary());
    drawButton(painter, layout.launch, launchLabel(persona), inkOnLime(), OrvaneWebTheme::accentLimeFill(),
        pressedPart == launchPart);
}

QRect PersonaCardDelegate::partRect(const QModelIndex &index, const QRect &rect, int part) const
{
    return part == launchPart ? layoutPersonaCard(m_personas.at(index.row()), rect).launch : QRect();
}

} // namespace orvane::operations

namespace orvane {

using namespace operations;

AgentsCatalogSurfaceView::AgentsCatalogSurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : OperationsSurfaceView(context, 16, parent),
      m_personas(new PersonaListModel([](const OrvaneAgentPersona &persona) { return persona.name; }, this))
{
    setObjectName(u"agentsCatalogSurface"_s);
    m_personas->reconcile(OrvaneWebParitySeeds::personas());
    // Kicker and headline stand in the page's column themselves, 16 apart.
    page()->addWidget(new KickerLabel(theme(), u"SPECIALIST AD AGENTS & AUTONOMOUS LOOPS"_s));
    auto *headline = new SurfaceLabel(theme(), u"Launch a Dedicated Campaign Thread with Any Specialist Agent"_s,
        themeFont(20, QFont::Bold), ThemeColor::textPrimary);
    headline->setObjectName(u"surfaceHeadlineLabel"_s);
    headline->setWordWrap(true);
    page()->addWidget(headline);

    auto *grid
        = new CardGrid(m_personas, std::make_unique<PersonaCardDelegate>(theme(), *m_personas), theme(), 320, 14);
    grid->setObjectName(u"personaCardGrid"_s);
    grid->setAccessibleName(u"Agents"_s);
    connect(grid, &CardGrid::partClicked, this, [this](const QModelIndex &index, int part) {
        if (part == PersonaCardDelegate::launchPart)
            launch(m_personas->at(index.row()));
    });
    page()->addWidget(grid);
}

void AgentsCatalogSurfaceView::launch(const OrvaneAgentPersona &persona)
{
    // The project is decided now, not when the catalog was drawn.
    std::optional<QUuid> projectID = model().selectedProjectID();
    if (!projectID && !model().projects().isEmpty())
        projectID = model().projects().first().id;
    model().createNewThread(
        CampaignIDEWorkspaceModel::NewThread {
            .title = operationstexts::launchedThreadTitle(persona),
            .initialPrompt = persona.samplePrompt(),
            .persona = persona,
            .projectID = projectID,
            .workbench = persona.defaultWorkbench,
            .autoSend = true,
        },
        context().session);
}

} // namespace orvane

#include "ide/views/canvas/CompetitorExplorerTabView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/canvas/ButtonLooks.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/canvas/CompetitorAdCardDelegate.h"
#include "ide/views/canvas/CompetitorAdListModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

const QStringList CompetitorExplorerTabView::competitorDomains
    = { u"taskvane.io"_s, u"plannly.dev"_s, u"sprintloop.com"_s, u"boardforge.app"_s };

QString CompetitorExplorerTabView::headlineFor(const QString &domain)
{
    return u"Active Competitor Hooks & Paid Keywords for "_s + domain;
}

CompetitorExplorerTabView::CompetitorExplorerTabView(const WorkspaceViewContext &context, QWidget *parent)
    : Panel(*context.theme, ThemeColor::canvasBackground, parent),
      m_context(context),
      m_ads(new CompetitorAdListModel(context.model, this))
{
    setObjectName(u"competitorExplorerView"_s);
    const ThemeSource &theme = *context.theme;

    auto *outer = new QVBoxLayout(this);
    // A narrow workbench column clips the view instead of widening the window for it.
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *background = new Panel(theme, ThemeColor::canvasBackground, this);
    outer->addWidget(background);
    auto *column = new QVBoxLayout(background);
    // The grid pads itself and holds the header, so both scroll together right up to the edges.
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The chips go under the titles when the column cannot hold both side by side.
    auto *header = new AdaptiveRow(10, background);
    auto *titleBlock = new QWidget(header);
    auto *titles = new QVBoxLayout(titleBlock);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(3);
    titles->addWidget(new KickerLabel(theme, u"EXPLORE · COMPETITOR AD LIBRARY & SPYFU SEARCH INTEL"_s, background));
    m_headline = new WrappingLabel(theme, themeFont(18, QFont::Bold), ThemeColor::textPrimary, background);
    m_headline->setObjectName(u"competitorHeadlineLabel"_s);
    titles->addWidget(m_headline);
    header->addLeading(titleBlock, true);
    auto *chipBlock = new QWidget(header);
    auto *chipRow = new QHBoxLayout(chipBlock);
    chipRow->setContentsMargins(0, 0, 0, 0);
    chipRow->setSpacing(10);

    for (qsizetype i = 0; i < competitorDomains.size(); ++i) {
        const QString &domain = competitorDomains.at(i);
        auto *chip = new ClickableButton(
            theme, buttonLook(ThemeColor::elevatedBackground, ThemeColor::borderSubtle, { 9, 5, 9, 5 }, 0), background);
        chip->setObjectName(u"competitorChip%1Button"_s.arg(i));
        // Coloured by syncHeader(): black on the lime fill when highlighted, accentCyan otherwise.
        m_chipTexts.append(chip->addText(domain, themeFont(11, QFont::Bold, true), QColor()));
        connect(chip, &QAbstractButton::clicked, this, [this, domain] {
            if (m_context.model && m_ads->threadID())
                m_context.model->runCompetitorLookup(domain, *m_ads->threadID());
        });
        chipRow->addWidget(chip, 0, Qt::AlignVCenter);
        m_chips.append(chip);
    }
    header->addTrailing(chipBlock);

    m_grid = new CardGridView(theme, ThemeColor::canvasBackground, cardMinimumWidth, gridSpacing, padding, background);
    m_grid->setObjectName(u"competitorAdGridView"_s);
    m_grid->setAccessibleName(u"Competitor Ads"_s);
    header->setObjectName(u"competitorHeaderRow"_s);
    m_grid->setHeader(header, headerGap);
    m_grid->setPressDimsCards(false);
    auto *delegate = new CompetitorAdCardDelegate(theme, m_grid);
    m_grid->setItemDelegate(delegate);
    m_grid->setModel(m_ads);
    column->addWidget(m_grid, 1);

    connect(m_grid, &CardGridView::mouseReleased, delegate, &CompetitorAdCardDelegate::clearPress);
    // The clone button of a card, clicked or pressed from the keyboard.
    const auto cloneHook = [this](const QModelIndex &index) {
        if (m_context.model && m_ads->threadID() && index.isValid())
            m_context.model->cloneCompetitorAdToCanvas(m_ads->adAt(index.row()), *m_ads->threadID());
    };
    connect(delegate, &CompetitorAdCardDelegate::cloneRequested, this, cloneHook);
    connect(m_grid, &CardGridView::actionTriggered, this, cloneHook);
    connect(m_ads, &CompetitorAdListModel::threadUpdated, this, &CompetitorExplorerTabView::syncHeader);
    connect(&theme, &ThemeSource::themeChanged, this, &CompetitorExplorerTabView::syncHeader);
    syncHeader();
}

void CompetitorExplorerTabView::syncHeader()
{
    const QString &domain = m_ads->competitorDomain();
    m_headline->setText(headlineFor(domain));
    for (qsizetype i = 0; i < m_chips.size(); ++i) {
        ClickableButton *chip = m_chips.at(i);
        const bool highlighted = competitorDomains.at(i) == domain;
        ClickableButton::Look look = chip->look();
        look.fill = highlighted ? ThemeColor::accentLimeFill : ThemeColor::elevatedBackground;
        chip->setLook(look);
        QLabel *text = m_chipTexts.at(i);
        QPalette palette = text->palette();
        palette.setColor(
            QPalette::WindowText, highlighted ? QColor(Qt::black) : m_context.theme->color(ThemeColor::accentCyan));
        text->setPalette(palette);
        chip->setProperty("highlighted", highlighted);
    }
}

} // namespace orvane

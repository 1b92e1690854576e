#include "ide/views/thread/AgentTabChip.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/ThreadPaneParts.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace orvane {

AgentTabChip::AgentTabChip(const ThemeSource &theme, QWidget *parent)
    : Panel(theme, PanelLook {}, parent), m_theme(&theme)
{
    setObjectName(u"agentTabChip"_s);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 5, 8, 5);
    row->setSpacing(6);

    ClickableButton::Look plain;
    plain.padding = QMargins();
    m_select = new ClickableButton(theme, plain);
    m_select->setObjectName(u"agentTabSelectButton"_s);
    m_dot = new StateDot(theme, ThemeColor::textMuted, 6);
    m_select->addWidget(m_dot);
    m_handle = m_select->addText(QString(), themeFont(10, QFont::Bold, true), QColor());
    m_title = m_select->addText(QString(), themeFont(11, QFont::Medium), QColor());
    row->addWidget(m_select);

    m_close = new ClickableButton(theme, plain);
    m_close->setObjectName(u"agentTabCloseButton"_s);
    m_close->setFixedSize(14, 14);
    m_close->setToolTip(u"Close Agent Tab"_s);
    m_close->addSymbol(u"xmark"_s, ThemeColor::textMuted, 8, ui::SymbolWeight::bold);
    row->addWidget(m_close);

    connect(m_select, &QAbstractButton::clicked, this, [this] { Q_EMIT selectRequested(m_tabID); });
    connect(m_close, &QAbstractButton::clicked, this, [this] { Q_EMIT closeRequested(m_tabID); });
    connect(&theme, &ThemeSource::themeChanged, this, &AgentTabChip::applyColors);
}

void AgentTabChip::showTab(const CampaignAgentTab &tab, bool selected, bool closable)
{
    m_tabID = tab.id;
    m_handle->setText(tab.personaHandle);
    m_title->setText(tab.title);
    m_select->setAccessibleName(tab.personaHandle + u' ' + tab.title);
    m_close->setVisible(closable);
    if (m_selected != selected || m_title->font().weight() != (selected ? QFont::Bold : QFont::Medium)) {
        m_selected = selected;
        m_title->setFont(themeFont(11, selected ? QFont::Bold : QFont::Medium));
    }
    applyColors();
}

void AgentTabChip::applyColors()
{
    setLook(m_selected ? PanelLook { .fill = ThemeColor::elevatedBackground,
                .stroke = ThemeColor::accentLime,
                .strokeOpacity = 0.6 }
                       : PanelLook { .fill = ThemeColor::panelBackground, .stroke = ThemeColor::borderSubtle });
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    m_dot->setColor(m_selected ? ThemeColor::accentLimeFill : ThemeColor::textMuted);
    setLabelColor(m_handle, m_selected ? theme.accentLime() : theme.textSecondary());
    setLabelColor(m_title, m_selected ? theme.textPrimary() : theme.textSecondary());
}

} // namespace orvane

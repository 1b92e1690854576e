#include "ide/views/thread/AgentTabChip.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/ThreadPaneParts.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

AgentTabChip::AgentTabChip(const ThemeSource &theme, QWidget *parent) : Panel(theme, PanelLook {}, parent)
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
    m_handle = new ElidedLabel(theme, themeFont(10, QFont::Bold, true), ThemeColor::textSecondary);
    m_handle->setObjectName(u"agentTabHandleLabel"_s);
    m_select->addWidget(m_handle);
    m_title = new ElidedLabel(theme, themeFont(11, QFont::Medium), ThemeColor::textSecondary);
    m_title->setObjectName(u"agentTabTitleLabel"_s);
    m_select->addWidget(m_title);
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
    m_select->setAccessibleName(labelText(tab.personaHandle + u' ' + tab.title));
    m_close->setVisible(closable);
    if (m_selected != selected || m_title->font().weight() != (selected ? QFont::Bold : QFont::Medium)) {
        m_selected = selected;
        m_title->setFont(themeFont(11, selected ? QFont::Bold : QFont::Medium));
    }
    applyColors();
    fitTexts();
}

void AgentTabChip::setWidthLimit(int width)
{
    if (m_widthLimit == width)
        return;
    m_widthLimit = width;
    fitTexts();
}

void AgentTabChip::fitTexts()
{
    int handle = m_handle->sizeHint().width();
    int title = m_title->sizeHint().width();
    if (m_widthLimit > 0) {
        // Everything of the chip but its two texts.
        const QMargins outer = layout()->contentsMargins();
        const QMargins inner = m_select->layout()->contentsMargins();
        int rest = outer.left() + outer.right() + inner.left() + inner.right() + m_dot->minimumWidth()
            + 2 * m_select->layout()->spacing();
        if (!m_close->isHidden())
            rest += layout()->spacing() + m_close->minimumWidth();
        const int room = m_widthLimit - rest;
        if (handle + title > room) {
            // The title gives way first, down to a letter and the ellipsis, then the handle; with
            // less room still, the title keeps the ellipsis alone.
            title = std::max(m_title->minimumSizeHint().width(), room - handle);
            handle = std::clamp(room - title, m_handle->minimumSizeHint().width(), handle);
            const int ellipsis = m_title->fontMetrics().horizontalAdvance(u'\u2026') + 1;
            title = std::clamp(room - handle, std::min(ellipsis, title), title);
        }
    }
    m_handle->setMaximumWidth(handle);
    m_title->setMaximumWidth(title);
}

void AgentTabChip::applyColors()
{
    setLook(m_selected ? PanelLook { .fill = ThemeColor::elevatedBackground,
                .stroke = ThemeColor::accentLime,
                .strokeOpacity = 0.6 }
                       : PanelLook { .fill = ThemeColor::panelBackground, .stroke = ThemeColor::borderSubtle });
    m_dot->setColor(m_selected ? ThemeColor::accentLimeFill : ThemeColor::textMuted);
    m_handle->setColor(m_selected ? ThemeColor::accentLime : ThemeColor::textSecondary);
    m_title->setColor(m_selected ? ThemeColor::textPrimary : ThemeColor::textSecondary);
}

} // namespace orvane

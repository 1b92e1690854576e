#include "ide/views/sidebar/SidebarUserFooter.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "kit/session/SessionStore.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// The operator's monogram on a square tile.
class FooterAvatar final : public Panel {
public:
    explicit FooterAvatar(const ThemeSource &theme, QWidget *parent = nullptr)
        : Panel(
            theme, PanelLook { .fill = ThemeColor::elevatedBackground, .stroke = ThemeColor::borderStrong }, parent),
          m_theme(&theme)
    {
        setObjectName(u"footerAvatar"_s);
        setFixedSize(28, 28);
        setAccessibleName(text());
    }

    [[nodiscard]] static QString text() { return u"OP"_s; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        Panel::paintEvent(event);
        if (!m_theme)
            return;
        QPainter painter(this);
        painter.setFont(themeFont(10, QFont::Bold, true));
        painter.setPen(m_theme->color(ThemeColor::accentLime));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace

SidebarUserFooter::SidebarUserFooter(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_session(context.session)
{
    Q_ASSERT(context.mirror && context.theme);
    setObjectName(u"sidebarUserFooter"_s);
    const ThemeSource &theme = *context.theme;

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(9);
    row->addWidget(new FooterAvatar(theme));

    auto *lines = new QVBoxLayout;
    lines->setSpacing(1);
    m_mode = new ElidedLabel(theme, themeFont(11, QFont::Bold), ThemeColor::textPrimary);
    m_mode->setObjectName(u"footerModeLabel"_s);
    lines->addWidget(m_mode);
    // The folder the IDE mirrors into, as users know it.
    auto *path = new ElidedLabel(theme, themeFont(9, QFont::Normal, true), ThemeColor::textMuted);
    path->setObjectName(u"footerPathLabel"_s);
    path->setText(context.mirror->shownWorkspaceRoot());
    lines->addWidget(path);
    row->addLayout(lines, 1);

    ClickableButton::Look look;
    look.fill = ThemeColor::panelBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins();
    look.spacing = 0;
    m_themeSwitch = new ClickableButton(theme, look);
    m_themeSwitch->setObjectName(u"themeSwitchButton"_s);
    m_themeSwitch->addStretch();
    m_themeSymbol
        = m_themeSwitch->addSymbol(u"sun.max.fill"_s, ThemeColor::accentAmber, 11, ui::SymbolWeight::semibold);
    m_themeSwitch->addStretch();
    m_themeSwitch->setFixedSize(26, 26);
    connect(m_themeSwitch, &QAbstractButton::clicked, context.state, [state = context.state] {
        // The window follows the flag: its theme recolours every view in place.
        state->setDarkTheme(!state->isDarkTheme());
    });
    row->addWidget(m_themeSwitch, 0, Qt::AlignVCenter);

    connect(context.state, &WorkspaceWindowState::appearanceChanged, this, &SidebarUserFooter::refreshThemeSwitch);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
    if (context.session) {
        connect(context.session, &SessionStore::accountChanged, this, &SidebarUserFooter::refreshMode);
        connect(context.session, &SessionStore::stateChanged, this, &SidebarUserFooter::refreshMode);
    }
    refreshMode();
    refreshThemeSwitch();
}

QString SidebarUserFooter::modeText(bool signedIn)
{
    return signedIn ? u"Orvane Cloud + Local"_s : u"Local Operator Mode"_s;
}

QString SidebarUserFooter::themeSwitchToolTip(bool dark)
{
    return dark ? u"Switch to Daylight Theme"_s : u"Switch to Tactical Carbon Dark Theme"_s;
}

void SidebarUserFooter::refreshMode()
{
    m_mode->setText(modeText(m_session && m_session->account().has_value()));
}

void SidebarUserFooter::refreshThemeSwitch()
{
    if (!m_context.state)
        return;
    // The symbol shows the appearance a click brings.
    const bool dark = m_context.state->isDarkTheme();
    m_themeSymbol->setSymbol(dark ? u"sun.max.fill"_s : u"moon.fill"_s);
    m_themeSymbol->setColor(dark ? ThemeColor::accentAmber : ThemeColor::textSecondary);
    m_themeSwitch->setToolTip(themeSwitchToolTip(dark));
    m_themeSwitch->setAccessibleName(themeSwitchToolTip(dark));
}

void SidebarUserFooter::paintEvent(QPaintEvent *)
{
    if (!m_context.theme)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_context.theme->theme().sidebarBackground());
}

} // namespace orvane

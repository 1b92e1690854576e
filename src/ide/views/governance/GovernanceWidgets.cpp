#include "ide/views/governance/GovernanceWidgets.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane::governance {

GovernanceSurface::GovernanceSurface(const WorkspaceViewContext &context, QWidget *parent)
    : DestinationView(parent), m_context(context), m_scroll(new QScrollArea(this)), m_column(nullptr)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_scroll->setObjectName(u"surfaceScrollArea"_s);
    m_scroll->setAccessibleName(u"Workspace"_s);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The destination area's own fill shows through.
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    outer->addWidget(m_scroll);

    auto *content = new QWidget;
    content->setObjectName(u"surfaceContent"_s);
    content->setAutoFillBackground(false);
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(20, 20, 20, 20);
    m_column->setSpacing(16);
    m_column->setAlignment(Qt::AlignTop);
    m_scroll->setWidget(content);
}

QBoxLayout *GovernanceSurface::addHeaderRow(const QString &kicker, const QString &headline, QWidget *trailing)
{
    const ThemeSource &theme = *m_context.theme;
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    auto *kickerLabel = new KickerLabel(theme, kicker);
    kickerLabel->setObjectName(u"surfaceKickerLabel"_s);
    titles->addWidget(kickerLabel);
    auto *headlineLabel = new ThemedLabel(theme, headline, themeFont(20, QFont::Bold), ThemeColor::textPrimary);
    headlineLabel->setObjectName(u"surfaceHeadlineLabel"_s);
    headlineLabel->setWordWrap(true);
    titles->addWidget(headlineLabel);
    row->addLayout(titles, 1);
    if (trailing)
        row->addWidget(trailing, 0, Qt::AlignVCenter);
    m_column->addLayout(row);
    return row;
}

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    // A tooltip wraps its text on every showing: a label's worth of it is all it shows.
    return u"<p style=\"white-space:pre-wrap\">"_s + labelText(text).toHtmlEscaped() + u"</p>"_s;
}

QColor textOnLimeFill()
{
    return QColor(Qt::black);
}

ClickableButton *makePrimaryButton(
    const ThemeSource &theme, const QString &text, qreal fontSize, QMargins padding, QWidget *parent)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::accentLimeFill;
    look.padding = padding;
    auto *button = new ClickableButton(theme, look, parent);
    button->addText(text, themeFont(fontSize, QFont::Bold), textOnLimeFill());
    return button;
}

} // namespace orvane::governance

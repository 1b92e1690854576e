#include "ide/views/operations/OperationsSurface.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/operations/CardPainting.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane::operations {

SurfaceLabel::SurfaceLabel(
    const ThemeSource &theme, const QString &text, const QFont &font, ThemeColor color, QWidget *parent)
    : QLabel(parent), m_theme(&theme), m_color(color)
{
    setTextFormat(Qt::PlainText);
    // Inside a button a label would otherwise take the button's text role, not its own colour.
    setForegroundRole(QPalette::WindowText);
    setText(text);
    setFont(font);
    applyColor();
    connect(&theme, &ThemeSource::themeChanged, this, &SurfaceLabel::applyColor);
}

void SurfaceLabel::applyColor()
{
    if (!m_theme)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, m_theme->color(m_color));
    setPalette(palette);
}

OperationsSurfaceView::OperationsSurfaceView(const WorkspaceViewContext &context, int sectionSpacing, QWidget *parent)
    : DestinationView(parent), m_context(context), m_scrollArea(new QScrollArea(this))
{
    Q_ASSERT(context.model && context.theme);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_scrollArea->setObjectName(u"surfaceScrollArea"_s);
    m_scrollArea->setAccessibleName(u"Workspace"_s);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    outer->addWidget(m_scrollArea);

    auto *content = new Panel(*context.theme, ThemeColor::canvasBackground);
    content->setObjectName(u"surfacePage"_s);
    m_page = new QVBoxLayout(content);
    m_page->setContentsMargins(20, 20, 20, 20);
    m_page->setSpacing(sectionSpacing);
    m_page->setAlignment(Qt::AlignTop);
    m_scrollArea->setWidget(content);
}

QWidget *OperationsSurfaceView::titleBlock(const QString &kicker, const QString &headline, int headlineSize)
{
    auto *block = new QWidget;
    auto *column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    auto *kickerLabel = new KickerLabel(theme(), kicker);
    kickerLabel->setObjectName(u"surfaceKickerLabel"_s);
    column->addWidget(kickerLabel);
    auto *headlineLabel
        = new SurfaceLabel(theme(), headline, themeFont(headlineSize, QFont::Bold), ThemeColor::textPrimary);
    headlineLabel->setObjectName(u"surfaceHeadlineLabel"_s);
    headlineLabel->setWordWrap(true);
    column->addWidget(headlineLabel);
    return block;
}

ClickableButton *OperationsSurfaceView::limeButton(const QString &text, const QString &objectName)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::accentLimeFill;
    look.padding = QMargins(12, 7, 12, 7);
    auto *button = new ClickableButton(theme(), look);
    button->setObjectName(objectName);
    button->addText(text, themeFont(11, QFont::Bold), cards::inkOnLime());
    return button;
}

} // namespace orvane::operations

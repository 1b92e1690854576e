#include "app/SignInWidgets.h"

#include "app/BrandSymbol.h"
#include "ide/views/kit/BrandColors.h"
#include "platform/ui/ApplicationFonts.h"
#include "platform/ui/Symbols.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTextLayout>
#include <QTimer>

#include <cmath>

namespace orvane {

using namespace Qt::StringLiterals;

ColorScheme applicationColorScheme()
{
    return colorScheme(QGuiApplication::palette());
}

QColor brandColor(const BrandAdaptiveColor &color)
{
    return resolve(color, QGuiApplication::palette());
}

// --- PlainTextBlock ---------------------------------------------------------------------------------

PlainTextBlock::PlainTextBlock(const QString &text, const QFont &font, BrandAdaptiveColor color, qreal lineSpacing,
    Qt::Alignment alignment, QWidget *parent)
    : QWidget(parent), m_color(color), m_lineSpacing(lineSpacing), m_alignment(alignment)
{
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setText(text);
}

void PlainTextBlock::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void PlainTextBlock::setColor(BrandAdaptiveColor color)
{
    m_color = color;
    update();
}

qreal PlainTextBlock::layOut(qreal width, QList<QPair<QString, QRectF>> *lines) const
{
    const QFontMetricsF metrics(font());
    qreal y = 0;
    bool first = true;
    // Each paragraph (a line break in the text starts one) wraps on its own.
    for (const QString &paragraph : m_text.split(u'\n')) {
        QTextLayout layout(paragraph, font());
        QTextOption option(m_alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(std::max<qreal>(1, width));
            if (!first)
                y += m_lineSpacing;
            first = false;
            if (lines) {
                QString part = paragraph.mid(line.textStart(), line.textLength());
                while (part.endsWith(u' '))
                    part.chop(1);
                lines->append({ part, QRectF(0, y, width, line.height()) });
            }
            y += line.height();
        }
        layout.endLayout();
        if (paragraph.isEmpty()) {
            if (!first)
                y += m_lineSpacing;
            first = false;
            y += metrics.height();
        }
    }
    return std::ceil(y);
}

int PlainTextBlock::heightForWidth(int width) const
{
    return int(layOut(width, nullptr));
}

QSize PlainTextBlock::sizeHint() const
{
    // As wide as the longest line unwrapped.
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (const QString &paragraph : m_text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(paragraph));
    const int width = int(std::ceil(widest)) + 1;
    return { width, heightForWidth(width) };
}

QSize PlainTextBlock::minimumSizeHint() const
{
    const QFontMetricsF metrics(font());
    return { int(std::ceil(metrics.averageCharWidth() * 8)), int(std::ceil(metrics.height())) };
}

void PlainTextBlock::paintEvent(QPaintEvent *)
{
    QList<QPair<QString, QRectF>> lines;
    layOut(width(), &lines);
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(brandColor(m_color));
    for (const auto &[text, rect] : lines)
        painter.drawText(rect, int(m_alignment | Qt::AlignTop) | Qt::TextSingleLine, text);
}

void PlainTextBlock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

// --- EntryButton ------------------------------------------------------------------------------------

namespace {

constexpr int horizontalPadding = 16;
constexpr int verticalPadding = 14;
constexpr int minimumBarHeight = 52;
constexpr int arrowSize = 16;
constexpr int labelSpacing = 12;

QFont entryButtonFont()
{
    QFont font = ui::OrvaneSignInType::body(15);
    font.setWeight(QFont::Medium);
    return font;
}

} // namespace

EntryButton::EntryButton(const QString &title, bool primary, bool arrow, QWidget *parent)
    : QAbstractButton(parent), m_primary(primary), m_arrow(arrow)
{
    setText(title);
    setFont(entryButtonFont());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
}

QSize EntryButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = 2 * horizontalPadding + metrics.horizontalAdvance(text());
    if (m_arrow)
        width += labelSpacing + arrowSize;
    return { width, std::max(minimumBarHeight, 2 * verticalPadding + metrics.height()) };
}

QSize EntryButton::minimumSizeHint() const
{
    return sizeHint();
}

void EntryButton::paintEvent(QPaintEvent *)
{
    const QColor foreground = brandColor(m_primary ? Brand::bgPrimary() : Brand::textPrimary());
    const QColor fill = brandColor(m_primary ? Brand::textPrimary() : Brand::bgSecondary());

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isDown() ? pressedOpacity : 1.0);

    const QRectF bar = QRectF(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(bar, 2, 2);
    if (!m_primary) {
        // Stroked inside the shape.
        painter.setPen(QPen(brandColor(Brand::borderPrimary()), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }

    const QRect content = rect().adjusted(horizontalPadding, 0, -horizontalPadding, 0);
    QRect textRect = content;
    if (m_arrow) {
        textRect.setRight(content.right() - arrowSize - labelSpacing);
        const QPixmap arrow
            = ui::symbolPixmap(u"arrow.right", foreground, arrowSize, devicePixelRatioF(), ui::SymbolWeight::semibold);
        painter.drawPixmap(QPoint(content.right() - arrowSize + 1, content.center().y() - arrowSize / 2 + 1), arrow);
    }
    painter.setPen(foreground);
    painter.setFont(font());
    const QString title = QFontMetrics(font()).elidedText(text(), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);

    if (hasFocus() && m_keyboardFocus) {
        // The keyboard focus: a ring in the accent colour just inside the bar.
        painter.setOpacity(1.0);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(brandColor(Brand::accentPrimary()), 2));
        painter.drawRoundedRect(bar.adjusted(1, 1, -1, -1), 2, 2);
    }
}

void EntryButton::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus
        = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void EntryButton::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

// --- ActivitySpinner --------------------------------------------------------------------------------

ActivitySpinner::ActivitySpinner(int diameter, QWidget *parent)
    : QWidget(parent), m_diameter(diameter), m_timer(new QTimer(this))
{
    setFixedSize(diameter, diameter);
    m_timer->setInterval(40);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 24) % 360;
        update();
    });
}

void ActivitySpinner::showEvent(QShowEvent *event)
{
    m_timer->start();
    QWidget::showEvent(event);
}

void ActivitySpinner::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void ActivitySpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal stroke = std::max(1.5, m_diameter / 9.0);
    const QRectF circle = QRectF(rect()).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
    QColor track = brandColor(Brand::textSecondary());
    track.setAlphaF(0.2f);
    painter.setPen(QPen(track, stroke));
    painter.drawEllipse(circle);
    painter.setPen(QPen(brandColor(Brand::textPrimary()), stroke, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, -m_angle * 16, 100 * 16);
}

// --- BrandSymbolView, BrandRule ---------------------------------------------------------------------

BrandSymbolView::BrandSymbolView(int size, QWidget *parent) : QWidget(parent)
{
    setFixedSize(size, size);
}

void BrandSymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor color
        = applicationColorScheme() == ColorScheme::dark ? brandSymbolOwnColor() : brandColor(Brand::textPrimary());
    paintBrandSymbol(painter, QRectF(rect()), color);
}

BrandRule::BrandRule(QSize size, BrandAdaptiveColor color, QWidget *parent) : QWidget(parent), m_color(color)
{
    setFixedSize(size);
}

void BrandRule::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), brandColor(m_color));
}

} // namespace orvane

#include "ide/views/window/WindowPrimitives.h"

#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeSource.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTextLayout>
#include <QToolTip>
#include <QVariantAnimation>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace orvane {

ThemeDivider::ThemeDivider(const ThemeSource &theme, Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent), m_theme(&theme)
{
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void ThemeDivider::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_theme->theme().borderSubtle());
}

ElidedLabel::ElidedLabel(const ThemeSource &theme, const QFont &font, ThemeColor color, QWidget *parent)
    : QLabel(parent), m_theme(&theme), m_color(color)
{
    setTextFormat(Qt::PlainText);
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Inside a button a label would take the button's ButtonText role; the colour is WindowText.
    setForegroundRole(QPalette::WindowText);
    connect(&theme, &ThemeSource::themeChanged, this, &ElidedLabel::applyColor);
    applyColor();
}

void ElidedLabel::setColor(ThemeColor color)
{
    m_color = color;
    applyColor();
}

void ElidedLabel::setFixedColor(const QColor &color)
{
    m_color.reset();
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
}

void ElidedLabel::applyColor()
{
    if (!m_theme || !m_color)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, m_theme->color(*m_color));
    setPalette(palette);
}

void ElidedLabel::setElideMode(Qt::TextElideMode mode)
{
    m_elideMode = mode;
    update();
}

QString ElidedLabel::drawnText() const
{
    // Measuring a text takes time that grows with it: past what any width shows, it is not measured.
    return fontMetrics().elidedText(labelText(text()), m_elideMode, width());
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return { metrics.horizontalAdvance(labelText(text())) + 1, metrics.height() };
}

void ElidedLabel::setMinimumWholeWidth(int width)
{
    m_minimumWholeWidth = width;
    updateGeometry();
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int least = qMax(metrics.horizontalAdvance(QStringLiteral("M…")), m_minimumWholeWidth);
    return { qMin(sizeHint().width(), least), metrics.height() };
}

bool ElidedLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && drawnText() != text()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), labelText(text()), this);
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(rect(), static_cast<int>(alignment()) | Qt::TextSingleLine, drawnText());
}

WrappingLabel::WrappingLabel(const ThemeSource &theme, const QFont &font, ThemeColor color, QWidget *parent)
    : QWidget(parent), m_theme(&theme), m_color(color)
{
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void WrappingLabel::setText(const QString &text)
{
    // The text is laid out on every paint: a text longer than a label ever shows is cut.
    const QString shown = labelText(text);
    if (m_text == shown)
        return;
    m_text = shown;
    updateGeometry();
    update();
}

void WrappingLabel::setColor(ThemeColor color)
{
    m_color = color;
    update();
}

void WrappingLabel::setBreakAnywhere(bool anywhere)
{
    m_breakAnywhere = anywhere;
    updateGeometry();
    update();
}

int WrappingLabel::layOut(QTextLayout &layout, int width) const
{
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(m_breakAnywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFont(font());
    const qreal lineWidth = qMax(1, width);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return qCeil(qMax(height, qreal(fontMetrics().height())));
}

QSize WrappingLabel::sizeHint() const
{
    // One line when there is room for it.
    const int width = qCeil(QFontMetricsF(font()).horizontalAdvance(m_text)) + 1;
    return { width, heightForWidth(width) };
}

QSize WrappingLabel::minimumSizeHint() const
{
    const int width = fontMetrics().horizontalAdvance(u'M') * 4;
    return { width, fontMetrics().height() };
}

int WrappingLabel::heightForWidth(int width) const
{
    QTextLayout layout(m_text);
    return layOut(layout, width);
}

void WrappingLabel::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QTextLayout layout(m_text);
    layOut(layout, width());
    QPainter painter(this);
    painter.setPen(m_theme->color(m_color));
    layout.draw(&painter, QPointF());
}

AdaptiveRow::AdaptiveRow(int spacing, QWidget *parent) : QWidget(parent), m_spacing(spacing)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void AdaptiveRow::addLeading(QWidget *part, bool stretches)
{
    addPart({ part, false, stretches });
}

void AdaptiveRow::addTrailing(QWidget *part)
{
    addPart({ part, true, false });
}

void AdaptiveRow::addPart(const Part &part)
{
    part.widget->setParent(this);
    // Leading parts before trailing ones, each group in the order added.
    const auto at = part.trailing
        ? m_parts.end()
        : std::find_if(m_parts.begin(), m_parts.end(), [](const Part &p) { return p.trailing; });
    m_parts.insert(at, part);
    part.widget->show();
    updateGeometry();
    place();
}

int AdaptiveRow::rowWidth() const
{
    int width = 0;
    for (const Part &part : m_parts)
        width += part.widget->sizeHint().width();
    return width + m_spacing * int(qMax<qsizetype>(0, m_parts.size() - 1));
}

int AdaptiveRow::rowHeight() const
{
    int height = 0;
    for (const Part &part : m_parts)
        height = qMax(height, part.widget->sizeHint().height());
    return height;
}

int AdaptiveRow::partHeight(const QWidget *widget, int width)
{
    const int hfw = widget->hasHeightForWidth() ? widget->heightForWidth(width) : -1;
    return hfw >= 0 ? hfw : widget->sizeHint().height();
}

QSize AdaptiveRow::sizeHint() const
{
    return { rowWidth(), rowHeight() };
}

QSize AdaptiveRow::minimumSizeHint() const
{
    int width = 0;
    for (const Part &part : m_parts)
        width = qMax(width, part.widget->minimumSizeHint().width());
    return { width, heightForWidth(width) };
}

int AdaptiveRow::heightForWidth(int width) const
{
    if (width >= rowWidth())
        return rowHeight();
    int height = 0;
    for (const Part &part : m_parts)
        height += partHeight(part.widget, part.stretches ? width : qMin(width, part.widget->sizeHint().width()));
    return height + m_spacing * int(qMax<qsizetype>(0, m_parts.size() - 1));
}

bool AdaptiveRow::event(QEvent *event)
{
    // A part's size hint changed, perhaps while this row was hidden and heard nothing of it.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) {
        updateGeometry();
        place();
    }
    return QWidget::event(event);
}

void AdaptiveRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void AdaptiveRow::place()
{
    const int available = width();
    if (isStacked()) {
        int y = 0;
        for (const Part &part : std::as_const(m_parts)) {
            const int w = part.stretches ? available : qMin(available, part.widget->sizeHint().width());
            const int h = partHeight(part.widget, w);
            part.widget->setGeometry(0, y, w, h);
            y += h + m_spacing;
        }
        return;
    }
    // Side by side, centred vertically; the stretching parts share the room the others leave,
    // equally when each gets at least its own width.
    const int height = this->height();
    int stretching = 0;
    int fixedWidth = m_spacing * int(m_parts.size() - 1);
    bool equal = true;
    for (const Part &part : std::as_const(m_parts)) {
        stretching += part.stretches ? 1 : 0;
        fixedWidth += part.stretches ? 0 : part.widget->sizeHint().width();
    }
    const int share = stretching > 0 ? (available - fixedWidth) / stretching : 0;
    for (const Part &part : std::as_const(m_parts))
        equal = equal && (!part.stretches || part.widget->sizeHint().width() <= share);
    const int extraEach = stretching > 0 ? (available - rowWidth()) / stretching : 0;
    int x = 0;
    for (qsizetype i = 0; i < m_parts.size(); ++i) {
        const Part &part = m_parts.at(i);
        if (part.trailing && (i == 0 || !m_parts.at(i - 1).trailing)) {
            // The trailing parts end at the right edge.
            int rest = -m_spacing;
            for (qsizetype j = i; j < m_parts.size(); ++j)
                rest += m_parts.at(j).widget->sizeHint().width() + m_spacing;
            x = qMax(x, available - rest);
        }
        int w = part.widget->sizeHint().width();
        if (part.stretches)
            w = equal ? share : w + extraEach;
        const int h = qMin(height, partHeight(part.widget, w));
        part.widget->setGeometry(x, (height - h) / 2, w, h);
        x += w + m_spacing;
    }
}

DotView::DotView(const ThemeSource &theme, ThemeColor color, int diameter, QWidget *parent)
    : QWidget(parent), m_theme(&theme), m_color(color)
{
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void DotView::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_theme->color(m_color));
    painter.drawEllipse(QRectF(rect()));
}

FixedTag::FixedTag(
    const QString &text, const QFont &font, const QColor &ink, const QColor &fill, QMargins padding, QWidget *parent)
    : QWidget(parent), m_text(text), m_ink(ink), m_fill(fill), m_padding(padding)
{
    setAccessibleName(text);
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize FixedTag::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(m_text), metrics.height()).grownBy(m_padding);
}

void FixedTag::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    painter.setPen(m_ink);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

SlidingColumn::SlidingColumn(QWidget *content, Qt::Edge anchor, QWidget *parent)
    : QWidget(parent), m_content(content), m_anchor(anchor), m_fullWidth(content->sizeHint().width())
{
    content->setParent(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setRevealedWidth(0);
    hide();
}

void SlidingColumn::setOpen(bool open, bool animated)
{
    if (m_animation)
        m_animation->stop();
    m_open = open;
    const int target = open ? m_fullWidth : 0;
    if (!animated || !window()->isVisible()) {
        setRevealedWidth(target);
        setVisible(open);
        return;
    }
    if (open)
        show();
    auto *animation = new QPropertyAnimation(this, "revealedWidth", this);
    animation->setDuration(animationMilliseconds);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(m_revealed);
    animation->setEndValue(target);
    connect(animation, &QPropertyAnimation::finished, this, [this] {
        if (!m_open)
            hide();
    });
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void SlidingColumn::setRevealedWidth(int width)
{
    m_revealed = qBound(0, width, m_fullWidth);
    setFixedWidth(m_revealed);
    placeContent();
}

void SlidingColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeContent();
}

void SlidingColumn::placeContent()
{
    const int x = m_anchor == Qt::RightEdge ? m_revealed - m_fullWidth : 0;
    m_content->setGeometry(x, 0, m_fullWidth, height());
}

ThemeCrossFade::ThemeCrossFade(QWidget *window) : QWidget(nullptr), m_before(window->grab())
{
    setObjectName(u"themeCrossFade"_s);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setParent(window);
    setGeometry(window->rect());
    raise();
    show();
    auto *fade = new QVariantAnimation(this);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    fade->setDuration(animationMilliseconds);
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_opacity = value.toReal();
        update();
    });
    connect(fade, &QVariantAnimation::finished, this, &QObject::deleteLater);
    fade->start();
}

void ThemeCrossFade::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.drawPixmap(0, 0, m_before);
}

} // namespace orvane

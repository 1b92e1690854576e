#include "ide/views/window/WindowPrimitives.h"

#include "ide/views/kit/ThemeSource.h"

#include <QPainter>
#include <QPropertyAnimation>

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
    : QWidget(parent), m_theme(&theme), m_color(color)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void ElidedLabel::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    setToolTip(text);
    setAccessibleName(text);
    updateGeometry();
    update();
}

QString ElidedLabel::drawnText() const
{
    return fontMetrics().elidedText(m_text, Qt::ElideRight, width());
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return { metrics.horizontalAdvance(m_text) + 1, metrics.height() };
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return { qMin(sizeHint().width(), metrics.horizontalAdvance(QStringLiteral("M…"))), metrics.height() };
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QPainter painter(this);
    painter.setPen(m_theme->color(m_color));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, drawnText());
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

ThemeBackground::ThemeBackground(const ThemeSource &theme, ThemeColor fill, QWidget *parent)
    : QWidget(parent), m_theme(&theme), m_fill(fill)
{
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void ThemeBackground::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_theme->color(m_fill));
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

} // namespace orvane

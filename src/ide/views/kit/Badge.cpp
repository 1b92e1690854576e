#include "ide/views/kit/Badge.h"

#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QPainter>

namespace orvane {
Badge::Look Badge::tinted(ThemeColor accent)
{
    Look look;
    look.text = accent;
    look.fill = accent;
    look.fillOpacity = 0.1;
    look.stroke = accent;
    look.strokeOpacity = 0.35;
    return look;
}

Badge::Badge(const ThemeSource &themeSource, const QString &text, QWidget *parent)
    : Badge(themeSource, text, Look {}, parent)
{
}

Badge::Badge(const ThemeSource &themeSource, const QString &text, const Look &look, QWidget *parent)
    : QWidget(parent), m_themeSource(&themeSource), m_text(text)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setLook(look);
    connect(&themeSource, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void Badge::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void Badge::setLook(const Look &look)
{
    m_look = look;
    setFont(themeFont(look.fontSize, look.weight, true));
    updateGeometry();
    update();
}

QSize Badge::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text), metrics.height()).grownBy(m_look.padding);
}

void Badge::paintEvent(QPaintEvent *)
{
    if (!m_themeSource)
        return;
    const OrvaneWebTheme theme = m_themeSource->theme();
    QPainter painter(this);
    paintPanel(painter, rect(), theme, { m_look.fill, m_look.fillOpacity, m_look.stroke, m_look.strokeOpacity });
    painter.setPen(theme.color(m_look.text));
    painter.setFont(font());
    painter.drawText(rect().marginsRemoved(m_look.padding), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

} // namespace orvane

#include "ide/views/kit/Card.h"

#include "ide/views/kit/ThemeSource.h"

#include <QPainter>
#include <QVBoxLayout>

namespace orvane {

Card::Card(const ThemeSource &themeSource, QWidget *parent) : Card(themeSource, Look {}, parent)
{
}

Card::Card(const ThemeSource &themeSource, const Look &look, QWidget *parent)
    : QFrame(parent), m_themeSource(&themeSource), m_content(new QVBoxLayout(this))
{
    setLook(look);
    connect(&themeSource, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void Card::setLook(const Look &look)
{
    m_look = look;
    m_content->setContentsMargins(look.padding);
    m_content->setSpacing(look.spacing);
    update();
}

void Card::paintEvent(QPaintEvent *)
{
    if (!m_themeSource)
        return;
    const OrvaneWebTheme theme = m_themeSource->theme();
    QPainter painter(this);
    painter.fillRect(rect(), theme.color(m_look.fill));
    if (m_look.stroked) {
        painter.setPen(QPen(theme.color(m_look.stroke), 1));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

} // namespace orvane

#include "ide/views/kit/SymbolView.h"

#include "ide/views/kit/ThemeSource.h"

#include <QPainter>

namespace orvane {

SymbolView::SymbolView(const ThemeSource &themeSource, const QString &symbol, ThemeColor color, int size,
    ui::SymbolWeight weight, QWidget *parent)
    : QWidget(parent), m_themeSource(&themeSource), m_symbol(symbol), m_role(color), m_size(size), m_weight(weight)
{
    setFixedSize(size, size);
    connect(&themeSource, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void SymbolView::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    update();
}

void SymbolView::setColor(ThemeColor color)
{
    m_role = color;
    m_fixedColor = QColor(); // not {}: that picks operator=(Qt::GlobalColor) and means Qt::color0
    update();
}

void SymbolView::setFixedColor(const QColor &color)
{
    m_fixedColor = color;
    update();
}

QColor SymbolView::drawnColor() const
{
    if (m_fixedColor.isValid())
        return m_fixedColor;
    return m_themeSource ? m_themeSource->color(m_role) : QColor();
}

QSize SymbolView::sizeHint() const
{
    return { m_size, m_size };
}

void SymbolView::paintEvent(QPaintEvent *)
{
    const QPixmap pixmap = ui::symbolPixmap(m_symbol, drawnColor(), m_size, devicePixelRatioF(), m_weight);
    if (pixmap.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), pixmap);
}

} // namespace orvane

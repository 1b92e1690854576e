#include "ide/views/kit/ThemedLabel.h"

#include "ide/views/kit/ThemeSource.h"

namespace orvane {

ThemedLabel::ThemedLabel(
    const ThemeSource &theme, const QString &text, const QFont &font, ThemeColor color, QWidget *parent)
    : QLabel(parent), m_theme(&theme), m_color(color)
{
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    applyColor();
    connect(&theme, &ThemeSource::themeChanged, this, &ThemedLabel::applyColor);
}

void ThemedLabel::setColor(ThemeColor color)
{
    m_color = color;
    applyColor();
}

void ThemedLabel::applyColor()
{
    if (!m_theme)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, m_theme->color(m_color));
    setPalette(palette);
}

} // namespace orvane

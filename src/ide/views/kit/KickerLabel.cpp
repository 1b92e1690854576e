#include "ide/views/kit/KickerLabel.h"

#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

namespace orvane {

KickerLabel::KickerLabel(const ThemeSource &themeSource, const QString &text, QWidget *parent)
    : KickerLabel(themeSource, text, ThemeColor::accentLime, 10, parent)
{
}

KickerLabel::KickerLabel(
    const ThemeSource &themeSource, const QString &text, ThemeColor color, int size, QWidget *parent)
    : QLabel(parent), m_themeSource(&themeSource), m_color(color)
{
    setTextFormat(Qt::PlainText);
    setFont(themeFont(size, QFont::Bold, true));
    setKicker(text);
    applyColor();
    connect(&themeSource, &ThemeSource::themeChanged, this, &KickerLabel::applyColor);
}

void KickerLabel::setKicker(const QString &text)
{
    setText(text.toUpper());
}

void KickerLabel::setColor(ThemeColor color)
{
    m_color = color;
    applyColor();
}

void KickerLabel::applyColor()
{
    if (!m_themeSource)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, m_themeSource->color(m_color));
    setPalette(palette);
}

} // namespace orvane

#include "ide/views/kit/ThemeFonts.h"

#include "platform/ui/ApplicationFonts.h"

#include <QGuiApplication>

namespace orvane {

QFont themeFont(qreal size, QFont::Weight weight, bool monospaced)
{
    QFont font = monospaced ? ui::monospacedFont(size) : QGuiApplication::font();
    font.setPixelSize(qMax(1, qRound(size)));
    font.setWeight(weight);
    return font;
}

} // namespace orvane

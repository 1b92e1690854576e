#include "ide/views/kit/ThemeFonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace orvane {

QFont themeFont(qreal size, QFont::Weight weight, bool monospaced)
{
    QFont font = monospaced ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QGuiApplication::font();
    font.setPixelSize(qMax(1, qRound(size)));
    font.setWeight(weight);
    return font;
}

} // namespace orvane

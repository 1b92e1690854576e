#include "ide/views/kit/ThemeSource.h"

namespace orvane {

ThemeSource::ThemeSource(bool isDark, QObject *parent) : QObject(parent), m_isDark(isDark)
{
}

void ThemeSource::setDark(bool isDark)
{
    if (m_isDark == isDark)
        return;
    m_isDark = isDark;
    Q_EMIT themeChanged();
}

} // namespace orvane

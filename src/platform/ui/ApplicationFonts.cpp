#include "platform/ui/ApplicationFonts.h"

#include <QFile>
#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace orvane::ui {
namespace {

// A face of the bundled files: the family the files declare and the weight of that face.
QFont face(const QString &family, QFont::Weight weight, qreal size)
{
    OrvaneSignInType::fonts().ensureRegistered();
    QFont font(family);
    font.setWeight(weight);
    font.setPixelSize(qMax(1, qRound(size)));
    return font;
}

} // namespace

ApplicationFonts::ApplicationFonts(QStringList files) : m_files(std::move(files))
{
}

void ApplicationFonts::ensureRegistered()
{
    std::call_once(m_once, [this] {
        QList<int> ids;
        QStringList families;
        for (const QString &file : std::as_const(m_files)) {
            if (!QFile::exists(file))
                continue;
            const int id = QFontDatabase::addApplicationFont(file);
            if (id < 0)
                continue;
            ids.append(id);
            for (const QString &family : QFontDatabase::applicationFontFamilies(id)) {
                if (!families.contains(family))
                    families.append(family);
            }
        }
        const std::lock_guard lock(m_mutex);
        m_ids = std::move(ids);
        m_families = std::move(families);
        m_registered = true;
    });
}

bool ApplicationFonts::isRegistered() const
{
    const std::lock_guard lock(m_mutex);
    return m_registered;
}

QStringList ApplicationFonts::families() const
{
    const std::lock_guard lock(m_mutex);
    return m_families;
}

int ApplicationFonts::registeredFileCount() const
{
    const std::lock_guard lock(m_mutex);
    return int(m_ids.size());
}

QStringList OrvaneSignInType::bundledFiles()
{
    return { u":/orvane/fonts/SpaceGrotesk.ttf"_s, u":/orvane/fonts/Inter.otf"_s,
        u":/orvane/fonts/IBMPlexMono-Regular.ttf"_s };
}

ApplicationFonts &OrvaneSignInType::fonts()
{
    static ApplicationFonts bundled(bundledFiles());
    return bundled;
}

// "SpaceGrotesk-Light_Regular": the light face of Space Grotesk.
QFont OrvaneSignInType::display(qreal size)
{
    return face(u"Space Grotesk"_s, QFont::Light, size);
}

// "Inter-Regular".
QFont OrvaneSignInType::body(qreal size)
{
    return face(u"Inter"_s, QFont::Normal, size);
}

QFont OrvaneSignInType::caption()
{
    return body(13);
}

QFont monospacedFont(qreal size)
{
    // Its own registry: the workspace uses this face without the sign-in screen's others.
    static ApplicationFonts monospaced({ u":/orvane/fonts/IBMPlexMono-Regular.ttf"_s });
    monospaced.ensureRegistered();
    QFont font(u"IBM Plex Mono"_s);
    font.setPixelSize(qMax(1, qRound(size)));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace orvane::ui

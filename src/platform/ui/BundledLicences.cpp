#include "platform/ui/BundledLicences.h"

#include <QFile>

namespace orvane::ui {

using namespace Qt::StringLiterals;

QList<BundledLicence> bundledLicences()
{
    const struct {
        QString work;
        QString file;
    } works[] = {
        { u"Space Grotesk (font)"_s, u"SpaceGrotesk.txt"_s },
        { u"Inter (font)"_s, u"Inter.txt"_s },
        { u"IBM Plex Mono (font)"_s, u"IBMPlexMono.txt"_s },
        { u"Lucide (icons)"_s, u"lucide.txt"_s },
    };
    QList<BundledLicence> licences;
    for (const auto &entry : works) {
        QFile file(u":/orvane/licenses/"_s + entry.file);
        const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        licences.append({ entry.work, text });
    }
    return licences;
}

} // namespace orvane::ui

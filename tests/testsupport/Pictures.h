#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace orvane::test {

// Keeps a picture of the widget for a person to look at, in ORVANE_GRAB_DIR (or `fallbackDir`) when
// set; `scale` enlarges close-ups.
inline void keepPicture(QWidget *widget, const QString &name, int scale = 1, const QString &fallbackDir = {})
{
    const QString dir = qEnvironmentVariable("ORVANE_GRAB_DIR", fallbackDir);
    if (dir.isEmpty() || !widget)
        return;
    QDir().mkpath(dir);
    const QImage image = widget->grab().toImage();
    image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(QDir(dir).filePath(name));
}

} // namespace orvane::test

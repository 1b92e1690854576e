#pragma once

#include <QList>
#include <QString>

namespace orvane::ui {

// A third-party work bundled into the application (a font or the symbol set) and the licence it
// comes under, as its authors ship it.
struct BundledLicence {
    QString work; // "Inter (font)"
    QString text; // the licence text; empty if it could not be read
};

// Every bundled font and the symbol set, in a fixed order.
[[nodiscard]] QList<BundledLicence> bundledLicences();

} // namespace orvane::ui

#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace orvane {

// A colour as four components in 0...1, parsed from a "#RRGGBB" or "#RRGGBBAA" token. It carries
// no toolkit colour type so the kit stays free of QtGui; the UI layer converts it.
struct HexColor final {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    // Parses a token: surrounding white space and one leading "#" are ignored; then exactly six
    // (RRGGBB) or eight (RRGGBBAA, alpha last) characters read as one base-16 number. Empty when
    // the text is not such a token.
    [[nodiscard]] static std::optional<HexColor> fromHex(QStringView text);

    // Relative luminance (WCAG 2.x, with its 0.03928 threshold); alpha is not used.
    [[nodiscard]] double luminance() const;

    // (lighter + 0.05) / (darker + 0.05): from 1 to 21, symmetric in its arguments.
    [[nodiscard]] static double contrastRatio(const HexColor &a, const HexColor &b);

    bool operator==(const HexColor &) const = default;
};

} // namespace orvane

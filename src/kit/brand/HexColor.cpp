#include "kit/brand/HexColor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvane {
namespace {

std::optional<unsigned> hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return unsigned(u - u'0');
    if (u >= u'a' && u <= u'f')
        return unsigned(u - u'a' + 10);
    if (u >= u'A' && u <= u'F')
        return unsigned(u - u'A' + 10);
    return std::nullopt;
}

// Reads the whole text as one unsigned base-16 number, as the standard integer parser does: one
// leading "+" is ignored; a leading "-" is accepted only for a value of zero.
std::optional<std::uint64_t> parseUnsignedHex(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : text) {
        const auto digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit; // at most eight digits: no overflow
    }
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

double linear(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

std::optional<HexColor> HexColor::fromHex(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'#'))
        text = text.sliced(1);
    // A non-ASCII character fails the digit test below, so counting UTF-16 units here accepts
    // and refuses the same texts as counting user-perceived characters would.
    if (text.size() != 6 && text.size() != 8)
        return std::nullopt;
    const auto value = parseUnsignedHex(text);
    if (!value)
        return std::nullopt;
    const std::uint64_t v = *value;
    const auto component = [](std::uint64_t byte) { return double(byte & 0xFF) / 255.0; };
    if (text.size() == 6)
        return HexColor { component(v >> 16), component(v >> 8), component(v), 1.0 };
    return HexColor { component(v >> 24), component(v >> 16), component(v >> 8), component(v) };
}

double HexColor::luminance() const
{
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

double HexColor::contrastRatio(const HexColor &a, const HexColor &b)
{
    const double la = a.luminance();
    const double lb = b.luminance();
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace orvane

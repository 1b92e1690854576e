#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>

#include <optional>

namespace orvane {

// A key issued by the service. Only texts with an accepted prefix make a key; the value is kept
// trimmed. Show `redacted()`, never `value()`.
class APIKey final {
public:
    // The trimmed text when it begins with "orv_" or "sk_orvane_" (case-sensitive), else nothing.
    [[nodiscard]] static std::optional<APIKey> fromText(const QString &text);

    [[nodiscard]] const QString &value() const { return m_value; }
    // "••••" below 13 characters, else the first 8, "…" and the last 4.
    [[nodiscard]] QString redacted() const;

    bool operator==(const APIKey &) const = default;

private:
    explicit APIKey(QString value) : m_value(std::move(value)) { }
    QString m_value;
};

// Keys code as one JSON string; a rejected text fails decoding with "Not a Orvane API key".
template <> struct JsonCoder<APIKey> {
    static Json encode(const APIKey &key, const JsonPath &path);
    static APIKey decode(const Json &json, const JsonPath &path);
};

// Display names of the platform identifiers the service sends with pending actions.
namespace PlatformName {
[[nodiscard]] QString display(const QString &identifier);
} // namespace PlatformName

// Upper-cases the first letter of every whitespace-separated word and lower-cases the rest.
[[nodiscard]] QString capitalizedWords(const QString &text);

} // namespace orvane

#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>

#include <string>
#include <vector>

namespace orvane::test {

// The keys of an encoded record, in written order.
template <typename T> std::vector<std::string> encodedKeys(const T &record)
{
    const Json json = toJson(record);
    std::vector<std::string> keys;
    for (auto it = json.cbegin(); it != json.cend(); ++it)
        keys.push_back(it.key());
    return keys;
}

// The message of the decoding error for the document, or "ok" when it decodes.
template <typename T> std::string decodeFailure(const Json &json)
{
    try {
        (void)fromJson<T>(json);
        return "ok";
    } catch (const DecodingError &error) {
        return error.message().toStdString();
    }
}

template <typename T> T roundTrip(const T &value)
{
    return decodeJson<T>(encodeJson(value));
}

} // namespace orvane::test

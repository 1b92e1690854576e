#pragma once

#include "kit/models/APIKey.h"
#include "kit/support/JsonCoding.h"

#include <QString>

#include <optional>

namespace orvane {

// The identity this device is signed in with. Its JSON ("apiKey", "email", optional "name" and
// "workspaceName", "readOnly") is what the account store keeps in the keyring.
struct SignedInAccount {
    APIKey apiKey;
    QString email;
    std::optional<QString> name;
    std::optional<QString> workspaceName;
    bool readOnly = false;

    void encode(JsonObjectWriter &writer) const;
    static SignedInAccount decode(const JsonObjectReader &reader);

    bool operator==(const SignedInAccount &) const = default;
};

} // namespace orvane

#include "kit/auth/SignedInAccount.h"

namespace orvane {

void SignedInAccount::encode(JsonObjectWriter &writer) const
{
    writer.field("apiKey", apiKey)
        .field("email", email)
        .field("name", name)
        .field("workspaceName", workspaceName)
        .field("readOnly", readOnly);
}

SignedInAccount SignedInAccount::decode(const JsonObjectReader &reader)
{
    return { reader.required<APIKey>("apiKey"), reader.required<QString>("email"), reader.optional<QString>("name"),
        reader.optional<QString>("workspaceName"), reader.required<bool>("readOnly") };
}

} // namespace orvane

#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace orvane {

// The two deployments of the service. The raw values also name per-environment storage (keyring
// account, signed-out flag), so they never change.
enum class OrvaneEnvironment { production, staging };

// The environment variable that points the application at another service base URL.
inline constexpr char kBaseURLOverrideVariable[] = "ORVANE_API_BASE_URL";

// The built-in base URL of an environment: scheme and host only, no path, no trailing "/".
[[nodiscard]] QUrl builtInBaseURL(OrvaneEnvironment environment);

// The base URL requests go to: the accepted override from ORVANE_API_BASE_URL when there is one,
// else the built-in URL. Read on every call, so a test can set the variable before it builds the
// objects under test.
[[nodiscard]] QUrl baseURL(OrvaneEnvironment environment);

// An override value is accepted when it is a valid absolute URL with a host and nothing but an
// optional port and an optional "/" after it; https for any host, http only for a loopback host
// (127.0.0.0/8, ::1, localhost). Gives the URL reduced to scheme, host and port, or nothing.
[[nodiscard]] std::optional<QUrl> acceptedBaseURLOverride(const QString &text);

// Whether a URL host is this machine: "localhost" or a loopback address (127.0.0.0/8, ::1).
[[nodiscard]] bool isLoopbackHost(const QString &host);

// "production" or "staging"; exact, case-sensitive.
[[nodiscard]] std::optional<OrvaneEnvironment> environmentFromRawValue(const QString &raw);

} // namespace orvane

ORVANE_JSON_ENUM(orvane::OrvaneEnvironment, { orvane::OrvaneEnvironment::production, "production" },
    { orvane::OrvaneEnvironment::staging, "staging" })

#pragma once

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string_view>

namespace orvane::test {

// Compares the document, written with two-space indents, whole against the file at `path` (relative
// to tests/). Random (version 4) ids, also inside texts, become "<id N>" in order of first appearance, so the file
// still shows which records share an id. With ORVANE_UPDATE_GOLDEN=1 in the environment the file
// is rewritten instead; review its diff before committing it.
[[nodiscard]] testing::AssertionResult matchesGolden(std::string_view path, const nlohmann::ordered_json &document);

} // namespace orvane::test

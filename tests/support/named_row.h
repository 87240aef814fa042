#pragma once

#include <concepts>
#include <ostream>
#include <string>

namespace dalvero::testing {

// A table row of a parameterised test, printed by its name instead of as a
// dump of its bytes.
template <typename Row>
concept NamedRow = requires(const Row& row) {
    { row.name } -> std::convertible_to<const char*>;
};

template <NamedRow Row> void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

// The row's name as the test's name.
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

} // namespace dalvero::testing

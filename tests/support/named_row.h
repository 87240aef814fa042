#pragma once

#include <QtGlobal>

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace dalvero::testing {

// A table row of a parameterised test: ctest shows it by its name alone.
template <typename Row>
concept NamedRow = requires(const Row& row) {
    { row.name } -> std::convertible_to<const char*>;
};

// The row's name as the test's name.
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

// The rows of a table that exist on this platform. A fault that only one
// platform can make has its row there only, and says so in its name:
// "..._LinuxOnly<Why>" or "..._WindowsOnly<Why>".
template <NamedRow Row> std::vector<Row> onThisPlatform(std::initializer_list<Row> rows) {
#ifdef Q_OS_WIN
    constexpr std::string_view otherPlatform = "_LinuxOnly";
#else
    constexpr std::string_view otherPlatform = "_WindowsOnly";
#endif
    std::vector<Row> kept;
    for (const Row& row : rows) {
        if (std::string_view(row.name).find(otherPlatform) == std::string_view::npos)
            kept.push_back(row);
    }
    return kept;
}

} // namespace dalvero::testing

#pragma once

#include <QtGlobal>

#include <initializer_list>
#include <string>
#include <vector>

namespace dalvero::testing {

// The row's name as the test's name, which is all ctest shows of a row.
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

// Where a row runs. Some faults only one platform can make: another user, a
// disk of a set size, a named pipe, mode bits, a symbolic link without
// rights and names Windows forbids are Linux's; a lock, a shortcut, the
// hidden attribute, a name in another case that is the same file and a share
// are Windows'.
enum class Runs { Everywhere, LinuxOnly, WindowsOnly };

template <typename Row> Row linuxOnly(Row row) {
    row.runs = Runs::LinuxOnly;
    return row;
}
template <typename Row> Row windowsOnly(Row row) {
    row.runs = Runs::WindowsOnly;
    return row;
}

// The rows of a table that exist on this platform.
template <typename Row>
requires requires(const Row& row) {
    row.runs == Runs::Everywhere;
}
std::vector<Row> onThisPlatform(std::initializer_list<Row> rows) {
#ifdef Q_OS_WIN
    constexpr Runs otherPlatform = Runs::LinuxOnly;
#else
    constexpr Runs otherPlatform = Runs::WindowsOnly;
#endif
    std::vector<Row> kept;
    for (const Row& row : rows) {
        if (row.runs != otherPlatform)
            kept.push_back(row);
    }
    return kept;
}

} // namespace dalvero::testing

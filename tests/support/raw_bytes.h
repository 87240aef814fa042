#pragma once

#include <QByteArray>

#include <cstddef>

namespace dalvero::testing {

// A byte string literal with its NUL bytes, without the terminating one.
template <std::size_t N> QByteArray raw(const char (&literal)[N]) {
    return QByteArray(literal, static_cast<qsizetype>(N - 1));
}

} // namespace dalvero::testing

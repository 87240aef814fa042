#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace dalvero {

// What went wrong, on which file, and the system's own reason. The layers
// below the windows hand these back and never show them: a window turns them
// into a message for the user, and so does main() for a start-up that fails
// before there is a window.
struct Failure {
    QString what;   // what was being done, e.g. "Kunne ikke læse eksportfilen"
    QString path;   // the full path concerned
    QString reason; // the system's reason, e.g. "No such file or directory"

    // The report the user reads; the reason in the user's language where Qt's
    // installed translation words it.
    QString message() const;
};

// Empty when the step succeeded.
using Status = std::optional<Failure>;

template <typename T> class Result {
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Failure failure) : m_state(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(m_state); }
    T& value() & { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }
    const Failure& failure() const { return std::get<Failure>(m_state); }

private:
    std::variant<T, Failure> m_state;
};

} // namespace dalvero

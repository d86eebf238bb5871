// Result<T>: a value or the message saying why there is none, for input the user controls
// (images, streams, command lines). Bugs are assertions, not Results.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qv {

struct Error {
    std::string message;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_error(std::move(error.message)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const std::string& error() const { return m_error; }

private:
    std::optional<T> m_value;
    std::string m_error;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_ok(false), m_error(std::move(error.message)) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const std::string& error() const { return m_error; }

private:
    bool m_ok = true;
    std::string m_error;
};

}  // namespace qv

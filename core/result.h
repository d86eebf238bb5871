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
    Result(T value) : m_value(std::move(value)) { }
    Result(Error error) : m_error(std::move(error.message)) { }

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
    Result(Error error) : m_ok(false), m_error(std::move(error.message)) { }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const std::string& error() const { return m_error; }

private:
    bool m_ok = true;
    std::string m_error;
};

}  // namespace qv

// Passing a failure up: QV_TRY(expression) returns the failure of a Result (of any type) from
// the enclosing function, whose own Result type may differ, and otherwise goes on.
#define QV_TRY(expression)                                         \
    do {                                                           \
        if (auto&& qv_try_result_ = (expression); !qv_try_result_) \
            return ::qv::Error{qv_try_result_.error()};            \
    } while (false)

// QV_TRY_ASSIGN(T name, expression) declares `name` from the Result's value, or returns its
// failure as QV_TRY does.
#define QV_TRY_ASSIGN(declaration, expression) QV_TRY_ASSIGN_(QV_TRY_NAME_(__LINE__), declaration, expression)
#define QV_TRY_NAME_(line) QV_TRY_NAME_JOIN_(line)
#define QV_TRY_NAME_JOIN_(line) qv_try_value_##line
#define QV_TRY_ASSIGN_(temporary, declaration, expression) \
    auto temporary = (expression);                         \
    if (!temporary)                                        \
        return ::qv::Error{temporary.error()};             \
    declaration = std::move(temporary.value())

#pragma once
// The outcome of an operation that can fail: its value, or a message saying
// why there is none (or another error type E where the message alone is not
// enough). Result<> (Result<void>) carries no value, only success or the error. A result must be looked at
// ([[nodiscard]]), and Result<> has no conversion to bool on purpose: "if (write(...))" could read as "if it worked" or
// as "if there is an error", and both have been meant.
#include <QString>
#include <optional>
#include <utility>

template <class T = void, class E = QString> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(E error)
    {
        Result r;
        r.m_error = std::move(error);
        return r;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T &value() const & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }
    // Empty when ok().
    const E &error() const { return m_error; }

private:
    Result() = default;
    std::optional<T> m_value;
    E m_error{};
};

template <class E> class [[nodiscard]] Result<void, E> {
public:
    Result() = default; // success
    static Result failure(E error)
    {
        Result r;
        r.m_failed = true;
        r.m_error = std::move(error);
        return r;
    }

    bool ok() const { return !m_failed; }
    // Empty when ok().
    const E &error() const { return m_error; }

private:
    bool m_failed = false;
    E m_error{};
};

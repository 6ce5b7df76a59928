// The outcome of an operation that can fail: its value, or the message that says why it
// failed. Result<> is the outcome of one that gives nothing but success or failure.
#pragma once

#include "common/message.h"

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace ladya {

template <class T = void> class Result {
    static_assert(!std::is_same_v<std::remove_cv_t<T>, Message>,
                  "a Message value could not be told from a failure");

public:
    // Both convert implicitly, so that a function returns either its value or a message.
    Result(T value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Result(Message failure) : m_outcome(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T& value() const& { return std::get<0>(m_outcome); }
    T& value() & { return std::get<0>(m_outcome); }
    T&& value() && { return std::get<0>(std::move(m_outcome)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // Only when !ok().
    const Message& failure() const { return std::get<1>(m_outcome); }

    // A message compares as the failure it converts to.
    friend bool operator==(const Result&, const Result&) = default;

private:
    std::variant<T, Message> m_outcome;
};

template <> class Result<void> {
public:
    Result() = default; // success
    Result(Message failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only when !ok().
    const Message& failure() const { return m_failure.value(); }

    friend bool operator==(const Result&, const Result&) = default;

private:
    std::optional<Message> m_failure;
};

} // namespace ladya

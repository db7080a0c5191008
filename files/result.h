// How a call that can fail says so, in every room of the programs: it returns
// a Result<T, E>, the value it makes or the error that kept it from being
// made. Each room has its own error type (files::FileError,
// card::CardError, exchange::ExchangeError): what went wrong, as data a
// caller can act on, and Describe(), the words a user reads. The signature
// says how a call fails; no exception leaves it.
#pragma once

#include <utility>
#include <variant>

namespace ovlet {

// A value, or the error that kept it from being made.
template <class T, class E>
class [[nodiscard]] Result {
public:
    Result(T value) : state(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : state(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return state.index() == 0; }
    T& Value() & { return std::get<0>(state); }
    const T& Value() const& { return std::get<0>(state); }
    T&& Value() && { return std::get<0>(std::move(state)); }
    T* operator->() { return &std::get<0>(state); }
    const T* operator->() const { return &std::get<0>(state); }
    const E& Error() const { return std::get<1>(state); }

private:
    std::variant<T, E> state;
};

// Success, or the error.
template <class E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(E error) : failed(true), failure(std::move(error)) {}

    explicit operator bool() const { return !failed; }
    const E& Error() const { return failure; }

private:
    bool failed = false;
    E failure{};
};

}  // namespace ovlet

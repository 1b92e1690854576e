#pragma once

#include <QTest>

#include <QCoro/QCoroTask>

#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <type_traits>

namespace orvane::test {

namespace detail {

template <typename T> struct AwaitState {
    std::conditional_t<std::is_void_v<T>, bool, std::optional<T>> value {};
    std::exception_ptr error;
    bool done = false;
};

template <typename T> QCoro::Task<> drive(QCoro::Task<T> task, std::shared_ptr<AwaitState<T>> state)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
        } else {
            auto result = co_await task;
            state->value.emplace(std::move(result));
        }
    } catch (...) {
        state->error = std::current_exception();
    }
    state->done = true;
}

} // namespace detail

// Runs a task to its end while processing events, and gives its result or rethrows its exception.
// (QCoro::waitFor never returns when the task throws.) A task still running after the timeout fails
// the test and throws std::runtime_error; it keeps running detached.
template <typename T> T awaitTask(QCoro::Task<T> task, int timeoutMs = 30000)
{
    auto state = std::make_shared<detail::AwaitState<T>>();
    detail::drive(std::move(task), state);
    if (!state->done && !QTest::qWaitFor([&] { return state->done; }, timeoutMs)) {
        ADD_FAILURE() << "task did not finish in time";
        throw std::runtime_error("task did not finish in time");
    }
    if (state->error)
        std::rethrow_exception(state->error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*state->value);
}

} // namespace orvane::test

#pragma once

// Runs a QCoro task to completion from a plain test body, spinning the event loop, and hands back
// its value or the exception it ended with. Unlike QCoro::waitFor it returns when the task throws,
// and it gives up after a timeout instead of hanging the test.

#include <QTest>

#include <QCoro/QCoroTask>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <variant>

namespace orvane::test {

template <typename T> struct TaskOutcome {
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

    bool finished = false;
    std::optional<Value> value;
    std::exception_ptr error;

    // The exception the task ended with, when it is an E; else null.
    template <typename E> [[nodiscard]] std::optional<E> errorAs() const
    {
        if (!error)
            return std::nullopt;
        try {
            std::rethrow_exception(error);
        } catch (const E &e) {
            return e;
        } catch (...) {
            return std::nullopt;
        }
    }
};

namespace detail {

template <typename T> QCoro::Task<> drive(QCoro::Task<T> task, std::shared_ptr<TaskOutcome<T>> outcome)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
            outcome->value.emplace();
        } else {
            outcome->value.emplace(co_await std::move(task));
        }
    } catch (...) {
        outcome->error = std::current_exception();
    }
    outcome->finished = true;
}

} // namespace detail

// Starts driving the task and returns its outcome, which fills in when the task ends.
template <typename T> std::shared_ptr<TaskOutcome<T>> startTask(QCoro::Task<T> task)
{
    auto outcome = std::make_shared<TaskOutcome<T>>();
    detail::drive(std::move(task), outcome);
    return outcome;
}

template <typename T>
TaskOutcome<T> awaitTask(QCoro::Task<T> task, std::chrono::milliseconds timeout = std::chrono::seconds(20))
{
    auto outcome = startTask(std::move(task));
    (void)QTest::qWaitFor([&] { return outcome->finished; }, int(timeout.count()));
    return *outcome;
}

} // namespace orvane::test

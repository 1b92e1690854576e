#pragma once

#include <functional>
#include <memory>

namespace orvane {

// Counts the background tasks one object has started that have not ended yet. A task holds a token
// for as long as its frame lives, so a task that outlives its object still counts: callers that must
// see every task end (a test before it tears down) keep a watch, which outlives the object too.
// Main thread only.
class InFlightTasks final {
    struct State {
        int count = 0;
        std::function<void()> settled;
    };

public:
    // settled runs each time the last running task ends, while this object lives.
    explicit InFlightTasks(std::function<void()> settled = {});
    ~InFlightTasks();
    InFlightTasks(const InFlightTasks &) = delete;
    InFlightTasks &operator=(const InFlightTasks &) = delete;

    class Token final {
    public:
        explicit Token(std::shared_ptr<State> state);
        ~Token();
        Token(Token &&) noexcept = default;
        Token &operator=(Token &&) noexcept = default;
        Token(const Token &) = delete;
        Token &operator=(const Token &) = delete;

    private:
        std::shared_ptr<State> m_state;
    };

    // Sees the count after the object has gone.
    class Watch final {
    public:
        explicit Watch(std::shared_ptr<const State> state) : m_state(std::move(state)) { }
        [[nodiscard]] int count() const { return m_state->count; }
        [[nodiscard]] bool idle() const { return m_state->count == 0; }

    private:
        std::shared_ptr<const State> m_state;
    };

    // Held by a task's frame from its start to its end.
    [[nodiscard]] Token begin() { return Token(m_state); }
    [[nodiscard]] Watch watch() const { return Watch(m_state); }
    [[nodiscard]] int count() const { return m_state->count; }
    [[nodiscard]] bool idle() const { return m_state->count == 0; }

private:
    std::shared_ptr<State> m_state;
};

} // namespace orvane

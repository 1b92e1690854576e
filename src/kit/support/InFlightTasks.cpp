#include "kit/support/InFlightTasks.h"

namespace orvane {

InFlightTasks::InFlightTasks(std::function<void()> settled)
    : m_state(std::make_shared<State>(State { .count = 0, .settled = std::move(settled) }))
{
}

InFlightTasks::~InFlightTasks()
{
    m_state->settled = nullptr;
}

InFlightTasks::Token::Token(std::shared_ptr<State> state) : m_state(std::move(state))
{
    ++m_state->count;
}

InFlightTasks::Token::~Token()
{
    if (!m_state)
        return; // moved from
    if (--m_state->count == 0 && m_state->settled) {
        const auto settled = m_state->settled; // it may destroy the owner
        settled();
    }
}

} // namespace orvane

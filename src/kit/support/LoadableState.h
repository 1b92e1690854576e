#pragma once

// The state of something loaded asynchronously from the service: not started, in progress,
// loaded with a value, or failed with a message meant for display.

#include "kit/networking/HttpTransport.h"

#include <QCoroTask>
#include <QString>

#include <concepts>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace orvane {

// Thrown out of an asynchronous operation whose work was cancelled; loading then returns to idle
// instead of reporting a failure.
class CancellationError final : public std::exception {
public:
    [[nodiscard]] const char *what() const noexcept override { return "The operation was cancelled."; }
};

template <typename Value> class LoadableState final {
public:
    enum class Case { loaded, failed, idle, loading };

    // Idle.
    LoadableState() = default;

    [[nodiscard]] static LoadableState idle() { return LoadableState(); }
    [[nodiscard]] static LoadableState loading()
    {
        LoadableState state;
        state.m_case = Case::loading;
        return state;
    }
    [[nodiscard]] static LoadableState loaded(Value value)
    {
        LoadableState state;
        state.m_case = Case::loaded;
        state.m_value = std::move(value);
        return state;
    }
    [[nodiscard]] static LoadableState failed(const QString &message)
    {
        LoadableState state;
        state.m_case = Case::failed;
        state.m_message = message;
        return state;
    }

    [[nodiscard]] Case state() const { return m_case; }
    // The loaded value; none in every other state.
    [[nodiscard]] const std::optional<Value> &value() const { return m_value; }
    [[nodiscard]] bool isLoading() const { return m_case == Case::loading; }
    // The failure's text; none in every other state.
    [[nodiscard]] std::optional<QString> errorMessage() const
    {
        return m_case == Case::failed ? std::optional<QString>(m_message) : std::nullopt;
    }

    // Runs the operation (a callable returning an awaitable of Value, typically QCoro::Task<Value>)
    // and turns its outcome into a state: loaded with its value, idle when it was cancelled
    // (CancellationError, or a NetworkError of kind cancelled), failed with the error's text
    // otherwise. Exceptions carry their user-facing text in what(). Never yields loading: a caller
    // that shows progress sets that itself before awaiting.
    template <typename Operation> [[nodiscard]] static QCoro::Task<LoadableState> load(Operation operation)
    {
        try {
            co_return loaded(co_await operation());
        } catch (const CancellationError &) {
            co_return idle();
        } catch (const NetworkError &error) {
            // A transfer we aborted ourselves (owner gone, superseded) was cancelled, not failed.
            if (error.kind() == NetworkError::Kind::cancelled)
                co_return idle();
            co_return failed(error.message());
        } catch (const std::exception &error) {
            co_return failed(QString::fromUtf8(error.what()));
        } catch (...) {
            co_return failed(QStringLiteral("The operation couldn’t be completed."));
        }
    }

    friend bool operator==(const LoadableState &a, const LoadableState &b) requires std::equality_comparable<Value>
    {
        return a.m_case == b.m_case && a.m_value == b.m_value && a.m_message == b.m_message;
    }

private:
    Case m_case = Case::idle;
    std::optional<Value> m_value;
    QString m_message;
};

} // namespace orvane

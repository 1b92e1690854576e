#include "kit/support/LoadableState.h"

#include <QCoroTask>
#include <QCoroTimer>
#include <QList>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvane;
using namespace std::chrono_literals;

namespace {

using State = LoadableState<QList<int>>;

QCoro::Task<QList<int>> afterATick(QList<int> values)
{
    QTimer timer;
    timer.start(1ms);
    co_await timer;
    co_return values;
}

QCoro::Task<QList<int>> throwing(std::exception_ptr error)
{
    co_await afterATick({});
    std::rethrow_exception(error);
}

TEST(LoadableStateLoad, GivesTheValueOrIdleOnCancellationOrTheErrorsText)
{
    const State state = QCoro::waitFor(State::load([] { return afterATick({ 1, 2, 3 }); }));
    EXPECT_EQ(state.state(), State::Case::loaded);
    EXPECT_EQ(state.value(), (QList<int> { 1, 2, 3 }));
    EXPECT_FALSE(state.isLoading());
    EXPECT_FALSE(state.errorMessage().has_value());

    const State cancelled
        = QCoro::waitFor(State::load([] { return throwing(std::make_exception_ptr(CancellationError())); }));
    EXPECT_EQ(cancelled, State::idle());
    EXPECT_FALSE(cancelled.errorMessage().has_value());
    EXPECT_FALSE(cancelled.isLoading());

    const State failed = QCoro::waitFor(State::load(
        [] { return throwing(std::make_exception_ptr(std::runtime_error("The service is unreachable."))); }));
    EXPECT_EQ(failed.errorMessage(), QStringLiteral("The service is unreachable."));
    EXPECT_FALSE(failed.value().has_value());

    const State unknown = QCoro::waitFor(State::load([] { return throwing(std::make_exception_ptr(42)); }));
    EXPECT_EQ(unknown.state(), State::Case::failed);
    EXPECT_FALSE(unknown.errorMessage()->isEmpty());
}

// A transfer aborted by our side ends idle like any cancellation; the other transfer failures
// are failures with their text.
TEST(LoadableStateLoad, AClientCancelledTransferEndsIdle)
{
    const State cancelled = QCoro::waitFor(State::load([] {
        return throwing(std::make_exception_ptr(
            NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError)));
    }));
    EXPECT_EQ(cancelled, State::idle());
    EXPECT_FALSE(cancelled.errorMessage().has_value());

    for (const auto kind : { NetworkError::Kind::transport, NetworkError::Kind::timedOut }) {
        const NetworkError error(kind, QNetworkReply::OperationCanceledError);
        const State failed = QCoro::waitFor(State::load([&] { return throwing(std::make_exception_ptr(error)); }));
        EXPECT_EQ(failed, State::failed(error.message()));
        EXPECT_FALSE(failed.errorMessage()->isEmpty());
    }
}

TEST(LoadableStateEquality, ComparesTheCaseAndItsPayload)
{
    EXPECT_EQ(State::loaded({ 1 }), State::loaded({ 1 }));
    EXPECT_NE(State::loaded({ 1 }), State::loaded({ 2 }));
    EXPECT_NE(State::idle(), State::loading());
    EXPECT_EQ(State::failed(QStringLiteral("a")), State::failed(QStringLiteral("a")));
    EXPECT_NE(State::failed(QStringLiteral("a")), State::failed(QStringLiteral("b")));
    EXPECT_NE(State::loaded({}), State::idle());
    EXPECT_TRUE(State::loading().isLoading());
    EXPECT_EQ(State(), State::idle());
}

} // namespace

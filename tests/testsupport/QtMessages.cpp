#include "testsupport/QtMessages.h"

#include <QMutex>
#include <QMutexLocker>

#include <gtest/gtest.h>

#include <cstdio>

namespace orvane::test {
namespace {

QMutex g_mutex;
QStringList g_expected;
QStringList g_unexpected;
int g_seen = 0;

void handler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    QMutexLocker lock(&g_mutex);
    for (const QString &fragment : std::as_const(g_expected)) {
        if (message.contains(fragment)) {
            ++g_seen;
            return;
        }
    }
    std::fprintf(stderr, "Qt message: %s\n", qPrintable(message));
    g_unexpected.append(message);
    if (type == QtFatalMsg)
        std::abort();
}

class Listener final : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo &) override
    {
        QMutexLocker lock(&g_mutex);
        g_unexpected.clear();
    }
    void OnTestEnd(const testing::TestInfo &) override
    {
        QStringList unexpected;
        {
            QMutexLocker lock(&g_mutex);
            unexpected.swap(g_unexpected);
        }
        for (const QString &message : std::as_const(unexpected))
            ADD_FAILURE() << "unexpected Qt warning: " << message.toStdString();
    }
};

} // namespace

ExpectQtWarnings::ExpectQtWarnings(QStringList fragments)
{
    QMutexLocker lock(&g_mutex);
    m_previous = g_expected;
    g_expected += fragments;
    g_seen = 0;
}

ExpectQtWarnings::~ExpectQtWarnings()
{
    QMutexLocker lock(&g_mutex);
    g_expected = m_previous;
}

int ExpectQtWarnings::seen() const
{
    QMutexLocker lock(&g_mutex);
    return g_seen;
}

void installQtMessageGuard()
{
    qInstallMessageHandler(handler);
    testing::UnitTest::GetInstance()->listeners().Append(new Listener);
}

} // namespace orvane::test

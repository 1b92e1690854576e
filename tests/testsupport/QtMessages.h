#pragma once

#include <QString>
#include <QStringList>

namespace orvane::test {

// While alive, Qt warnings whose text contains one of the given fragments are expected and do not
// fail the running test. Every other warning printed during a test fails it.
class ExpectQtWarnings final {
public:
    explicit ExpectQtWarnings(QStringList fragments);
    ~ExpectQtWarnings();
    ExpectQtWarnings(const ExpectQtWarnings &) = delete;
    ExpectQtWarnings &operator=(const ExpectQtWarnings &) = delete;

    // How many expected warnings arrived so far.
    [[nodiscard]] int seen() const;

private:
    QStringList m_previous;
};

// Installs the message handler and the listener that fails tests on unexpected warnings.
void installQtMessageGuard();

} // namespace orvane::test

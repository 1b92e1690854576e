#include "testsupport/QtMessages.h"

#include <QApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests never touch the real desktop session's settings.
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationDomain(QStringLiteral("orvane.com"));
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    orvane::test::installQtMessageGuard();
    return RUN_ALL_TESTS();
}

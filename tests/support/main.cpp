// Test programs run under a QApplication (offscreen in CI), so widget tests and database tests
// share one entry point.
#include <gtest/gtest.h>
#include <QApplication>

#include "support/TestAuditKey.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    si::test::UseTemporaryAuditKey();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

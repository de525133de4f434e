// The host's tests run under the host's own application object, so that what it does with an
// event handler's exception is what they see.
#include <gtest/gtest.h>

#include "apps/host/HostApplication.h"
#include "support/TestAuditKey.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    si::host::HostApplication app(argc, argv);
    si::test::UseTemporaryAuditKey();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

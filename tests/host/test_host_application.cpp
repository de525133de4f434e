// The host's last line of defence: an exception that an event handler lets out is shown once and
// the event loop goes on.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include "apps/host/HostApplication.h"
#include "common/ComponentRegistry.h"
#include "common/SqlError.h"
#include "support/ScriptedMessages.h"

namespace si::host {
namespace {

class HostApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        messages.install(components);
        app()->setComponents(&components);
    }
    void TearDown() override { app()->setComponents(nullptr); }
    static HostApplication* app() { return static_cast<HostApplication*>(qApp); }

    ComponentRegistry components;
    test::MessageScript messages;
};

// An object whose event handler fails as a statement would.
class FailingHandler : public QObject {
protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        throw SqlError(QStringLiteral("select * from tblGone"), QStringLiteral("no such table"));
    }
};

TEST_F(HostApplicationTest, AnEscapedErrorIsShownOnceAndTheLoopGoesOn) {
    ASSERT_NE(dynamic_cast<HostApplication*>(qApp), nullptr);
    FailingHandler handler;
    QCoreApplication::postEvent(&handler, new QEvent(QEvent::User));
    bool later = false;
    QTimer::singleShot(0, &handler, [&later] { later = true; });
    QCoreApplication::sendPostedEvents(&handler, QEvent::User);
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("خطای پایگاه داده: no such table"));

    // A slot run by a timer fails the same way; the next timer still fires.
    QTimer::singleShot(0, &handler, [] { throw std::runtime_error("slot failed"); });
    bool after = false;
    QTimer::singleShot(0, &handler, [&after] { after = true; });
    while (!after)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_TRUE(later);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.last().text, QStringLiteral("slot failed"));
}

}  // namespace
}  // namespace si::host

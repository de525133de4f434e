// The display as a process: it listens on 127.0.0.1 where --listen or parameter 2827 says, shows
// (and with --print writes) the amount of each invoice announced to it, ignores a bad line, and
// with --screenshot saves a picture and ends.

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QImage>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include "DisplayFixture.h"
#include "support/ClosedPort.h"

namespace si::test {
namespace {

constexpr int kWait = 30000;

class DisplayProcessTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        port = static_cast<quint16>(ClosedLocalPort());
    }
    void TearDown() override {
        if (display.state() != QProcess::NotRunning) {
            display.kill();
            display.waitForFinished(kWait);
        }
        DisplayTest::TearDown();
    }
    void start(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        display.setProcessEnvironment(env);
        display.start(
            QStringLiteral(SALEINVOICE_DISPLAY_EXE),
            QStringList{QStringLiteral("--db"), database->connectionString()} + arguments);
        ASSERT_TRUE(display.waitForStarted(kWait));
    }
    QString listenArgument() const { return QStringLiteral("127.0.0.1:") + QString::number(port); }

    // Sends the line as a cash desk does, once the display listens: connect, write, close.
    bool send(const QByteArray& line) {
        const QDeadlineTimer deadline(kWait);
        while (!deadline.hasExpired() && display.state() == QProcess::Running) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(1000)) {
                socket.write(line);
                const bool written = socket.waitForBytesWritten(kWait);
                socket.disconnectFromHost();
                return written;
            }
            QThread::msleep(100);
        }
        return false;
    }
    // The next line the display writes to standard output.
    QString nextLine() {
        while (!display.canReadLine())
            if (!display.waitForReadyRead(kWait)) return QString();
        return QString::fromUtf8(display.readLine()).trimmed();
    }

    QProcess display;
    quint16 port = 0;
};

TEST_P(DisplayProcessTest, ShowsEachAnnouncedAmountAndSkipsABadLine) {
    start({QStringLiteral("--listen"), listenArgument(), QStringLiteral("--print")});
    ASSERT_TRUE(send(lineOf(cashBox, firstInvoice)));
    EXPECT_EQ(nextLine(), QStringLiteral("۳۴/۴۱۱/۰۰۰ ريال"));
    ASSERT_TRUE(send("not a line"));
    ASSERT_TRUE(send(lineOf(cashBox, secondInvoice + 100)));
    ASSERT_TRUE(send(lineOf(cashBox, secondInvoice)));
    EXPECT_EQ(nextLine(), QStringLiteral("۱/۲۵۰/۰۰۰ ريال"));
    EXPECT_EQ(display.state(), QProcess::Running);
}

TEST_P(DisplayProcessTest, ListensWhereTheParameterSaysAndSavesAPictureOfTheAmount) {
    setParameter(P::CashTurnEndpoint, listenArgument());
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("display.png"));
    start({QStringLiteral("--print"), QStringLiteral("--screenshot"), picture});
    ASSERT_TRUE(send(lineOf(cashBox, firstInvoice)));
    EXPECT_EQ(nextLine(), QStringLiteral("۳۴/۴۱۱/۰۰۰ ريال"));
    ASSERT_TRUE(display.waitForFinished(kWait));
    EXPECT_EQ(display.exitCode(), 0) << display.readAllStandardError().toStdString();
    const QImage image(picture);
    EXPECT_FALSE(image.isNull());
}

TEST_P(DisplayProcessTest, WithoutAnAddressItRefusesToStart) {
    setParameter(P::CashTurnEndpoint, QStringLiteral("  "));
    start({});
    ASSERT_TRUE(display.waitForFinished(kWait));
    EXPECT_EQ(display.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(display.readAllStandardError()).contains(QStringLiteral("2827")));
}

SI_INSTANTIATE_BACKENDS(DisplayProcessTest);

}  // namespace
}  // namespace si::test

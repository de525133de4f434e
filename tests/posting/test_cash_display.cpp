// The notice to the cash display: where parameter 2827 points, the line it sends, one connection
// per notice, and a failed connection shown once without harming the booked invoice.

#include <QAbstractSocket>

#include "LineListener.h"
#include "PostingTestSupport.h"
#include "posting/CashDisplay.h"
#include "support/ClosedPort.h"

namespace si::test {
namespace {

constexpr int kWait = 10000;

TEST(CashDisplayEndpoint, HostBeforeTheFirstColonAndPortAfterIt) {
    const struct {
        const char* parameter;
        const char* host;
        quint16 port;
    } cases[] = {
        {"127.0.0.1:4000", "127.0.0.1", 4000},
        {"  kassa-1 : 4001 ", "kassa-1", 4001},
        {"kassa", "kassa", 3000},  // no colon
        {"kassa:", "kassa", 3000},
        {"kassa:0", "kassa", 3000},
        {"kassa:-7", "kassa", 3000},
        {"kassa:abc", "kassa", 3000},
        {"kassa:65536", "kassa", 3000},
        {"kassa:65535", "kassa", 65535},
    };
    for (const auto& c : cases) {
        const auto endpoint = ParseCashDisplayEndpoint(QString::fromLatin1(c.parameter));
        ASSERT_TRUE(endpoint) << c.parameter;
        EXPECT_EQ(endpoint->host, QString::fromLatin1(c.host)) << c.parameter;
        EXPECT_EQ(endpoint->port, c.port) << c.parameter;
    }
    for (const char* nothing : {"", "   ", ":4000", " :4000"})
        EXPECT_FALSE(ParseCashDisplayEndpoint(QString::fromLatin1(nothing))) << nothing;
}

class CashDisplayNotifierTest : public ::testing::Test {
protected:
    void SetUp() override { messages.install(components); }
    void pointTo(const QString& endpoint) {
        ASSERT_TRUE(ctx.params.assign(P::CashTurnEndpoint, endpoint));
    }

    ComponentRegistry components;
    ProcedureRegistry procedures;
    MessageScript messages;
    Context ctx{&components, &procedures};
    CashDisplayNotifier notifier{ctx};
};

TEST_F(CashDisplayNotifierTest, SendsTheLineAloneAndCloses) {
    LineListener display;
    ASSERT_TRUE(display.listening());
    pointTo(display.endpoint());
    notifier.NotifyCashDisplay(7, 1234);
    EXPECT_EQ(notifier.inFlight(), 1);
    EXPECT_TRUE(notifier.waitForAll(kWait));
    ASSERT_TRUE(display.waitForClosed(1));
    EXPECT_EQ(display.lines(), QList<QByteArray>{"7,1234"});
    EXPECT_EQ(notifier.inFlight(), 0);
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
}

TEST_F(CashDisplayNotifierTest, NoticesInFlightTogetherEachGetTheirOwnConnection) {
    LineListener display;
    pointTo(display.endpoint());
    notifier.NotifyCashDisplay(9, 3);
    notifier.NotifyCashDisplay(7, 1);
    notifier.NotifyCashDisplay(8, 20);
    EXPECT_EQ(notifier.inFlight(), 3);
    EXPECT_TRUE(notifier.waitForAll(kWait));
    ASSERT_TRUE(display.waitForClosed(3));
    EXPECT_EQ(display.connectionCount(), 3);
    EXPECT_EQ(display.lines(), (QList<QByteArray>{"7,1", "8,20", "9,3"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(CashDisplayNotifierTest, BlankEndpointSendsNothing) {
    for (const QString& blank : {QString(), QStringLiteral("   "), QStringLiteral(":3000")}) {
        pointTo(blank);
        notifier.NotifyCashDisplay(7, 1234);
        EXPECT_EQ(notifier.inFlight(), 0) << blank.toStdString();
        EXPECT_TRUE(notifier.waitForAll(kWait));
    }
    EXPECT_TRUE(messages.empty());
}

// The parameter is read for each notice: a refused one is shown once, and the next one, to a
// display that listens, goes through.
TEST_F(CashDisplayNotifierTest, RefusedConnectionIsShownOnceAndTheNextNoticeGoesThrough) {
    pointTo(QStringLiteral("127.0.0.1:") + QString::number(ClosedLocalPort()));
    notifier.NotifyCashDisplay(7, 1234);
    EXPECT_TRUE(notifier.waitForAll(kWait));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("Socket Error ") +
                                        QString::number(QAbstractSocket::ConnectionRefusedError) +
                                        QStringLiteral(": Connection refused"));

    LineListener display;
    pointTo(display.endpoint());
    notifier.NotifyCashDisplay(7, 1235);
    EXPECT_TRUE(notifier.waitForAll(kWait));
    ASSERT_TRUE(display.waitForClosed(1));
    EXPECT_EQ(display.lines(), QList<QByteArray>{"7,1235"});
    EXPECT_EQ(messages.shown().size(), 1u);
}

// A final cash sale of the store version notifies the display of the form's cash box once the
// save is committed; a display that cannot be reached costs a message, not the invoice.
class CashDisplaySaveTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        useParameter(P::ShopMode, QStringLiteral("1"));
        installSave();
        save->seams.CheckCashTurn = [] { return true; };
        save->seams.SaveCashTurnDetail = [] { return 55; };
    }
    void cashSale() {
        newInvoice();
        form->doc().CashID = 4;
        form->doc().Turn = 2;
        form->doc().cashTurnDescription = QStringLiteral("صندوق_2_1405/09/15");
    }
};

TEST_P(CashDisplaySaveTest, BookedCashSaleReachesTheDisplay) {
    LineListener display;
    useParameter(P::CashTurnEndpoint, display.endpoint());
    cashSale();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(module->cashDisplay().waitForAll(kWait));
    ASSERT_TRUE(display.waitForClosed(1));
    EXPECT_EQ(display.lines(), QList<QByteArray>{"4," + QByteArray::number(savedID())});

    // A temporary save books nothing and tells nobody.
    cashSale();
    ASSERT_TRUE(save->SaveInvoice(false));
    EXPECT_EQ(module->cashDisplay().inFlight(), 0);
}

TEST_P(CashDisplaySaveTest, UnreachableDisplayLeavesTheInvoiceBooked) {
    useParameter(P::CashTurnEndpoint,
                 QStringLiteral("127.0.0.1:") + QString::number(ClosedLocalPort()));
    cashSale();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    messages.clear();
    EXPECT_TRUE(module->cashDisplay().waitForAll(kWait));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Socket Error ") +
                          QString::number(QAbstractSocket::ConnectionRefusedError) +
                          QStringLiteral(": Connection refused")});
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 1);
    EXPECT_EQ(form->doc().lblAccountIDVal, QStringLiteral("صندوق_2_1405/09/15"));
    EXPECT_EQ(form->FormMode(), kModeView);
}

SI_INSTANTIATE_BACKENDS(CashDisplaySaveTest);

}  // namespace
}  // namespace si::test

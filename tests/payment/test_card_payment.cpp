// The card payment against a terminal that answers as the test says: the checks and their order,
// the two rows of an approval, the refusals' messages, one sale at a time, and approvals that
// survive a database error or a killed program without being written twice.

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <QProgressDialog>
#include "assembly/ui/InvoiceModuleUi.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "invoice/ui/FormMain.h"
#include "payment/CardPayment.h"
#include "payment/PosTexts.h"
#include "payment/WorkstationPayment.h"
#include "payment/ui/PayByCard.h"
#include "posting/PostingTestSupport.h"
#include "suite/CashTurnManager.h"
#include "support/TerminalSimulator.h"

namespace si::test {
namespace {

using pcpos::SaleResult;

// A terminal whose answer the test gives; it answers after startSale has returned.
class ScriptedTerminal : public pcpos::PosDriver {
public:
    bool startSale(const pcpos::SaleRequest& request) override {
        if (waiting_) return false;
        waiting_ = true;
        last = request;
        if (answer) {
            SaleResult r = *answer;
            r.attemptId = request.attemptId;
            QTimer::singleShot(0, this, [this, r] { finish(r); });
        }
        return true;
    }
    void cancel() override {
        SaleResult r;
        r.errorText = QStringLiteral("لغو شد");
        finish(r);
    }
    bool busy() const override { return waiting_; }
    void finish(const SaleResult& r) {
        if (!waiting_) return;
        waiting_ = false;
        Q_EMIT finished(r);
    }
    std::optional<SaleResult> answer;
    pcpos::SaleRequest last;

private:
    bool waiting_ = false;
};

SaleResult approval(const QString& trace = QStringLiteral("000000")) {
    SaleResult r;
    r.outcome = SaleResult::Outcome::Approved;
    r.status = 100;
    r.responseCode = QStringLiteral("0");
    r.approvalCode = QStringLiteral("A1");
    r.reasonCode = QStringLiteral("00");
    r.serialTransaction = QStringLiteral("RRN77");
    r.accountNo = QStringLiteral("0101");
    r.bin = QStringLiteral("603799");
    r.pan = QStringLiteral("6037****1234");
    r.terminalNo = QStringLiteral("T9");
    r.traceNumber = trace;
    r.transactionDate = QStringLiteral("1405/09/15");
    return r;
}

SaleResult refusal(int status, const QString& code) {
    SaleResult r;
    r.outcome = SaleResult::Outcome::Refused;
    r.status = status;
    r.responseCode = code;
    return r;
}

class CardPaymentTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        journal = std::make_unique<PaymentJournal>(dir.filePath(QStringLiteral("journal.log")));
        const int box = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق') RETURNING ID")));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {box, ctx.globals.CurrentUserID});
        turnId = suite::CashTurnManager(db(), ctx.globals.CurrentUserID).OpenTurn(box).id;
        device.id = 7;
        device.typeId = 1;
        device.comPort = QStringLiteral("COM1");
        device.baudRate = 9600;
        device.accountId = 4401;
        device.objectIds = {12, 0, 0};
        device.classIds = {3, 0, 0};
        newInvoice(250000);
        form->doc().CashID = box;
        form->doc().Turn = 1;
        payment = makePayment();
    }
    std::unique_ptr<CardPayment> makePayment() {
        CardPaymentParts parts;
        parts.device = [this]() -> std::optional<PosDevice> {
            ++deviceAsked;
            return device;
        };
        parts.driver = [this](const PosDevice&) -> std::unique_ptr<pcpos::PosDriver> {
            ++terminalsMade;
            auto t = std::make_unique<ScriptedTerminal>();
            t->answer = answer;
            terminal = t.get();
            return t;
        };
        auto p = std::make_unique<CardPayment>(ctx, form->doc(), *journal, parts);
        QObject::connect(p.get(), &CardPayment::done, [this](bool ok) { outcomes << ok; });
        return p;
    }
    // Starts and waits for the answer; the outcome, or nullopt when nothing was sent.
    std::optional<bool> pay() {
        const qsizetype before = outcomes.size();
        if (!payment->start()) return std::nullopt;
        for (int i = 0; i < 100 && outcomes.size() == before; ++i)
            QCoreApplication::processEvents();
        return outcomes.size() > before ? std::optional<bool>(outcomes.last()) : std::nullopt;
    }
    // A journal entry of an approval of the current form's turn, as the payment writes it.
    QJsonObject approvedEntry(const QString& attempt, qint64 rials) const {
        return {{QStringLiteral("attempt"), attempt},
                {QStringLiteral("invoice"), 0},
                {QStringLiteral("code"), -1},
                {QStringLiteral("date"), QStringLiteral("2026-12-06")},
                {QStringLiteral("amount"), QString::number(rials)},
                {QStringLiteral("account"), 4401},
                {QStringLiteral("cash"), form->doc().CashID},
                {QStringLiteral("turn"), 1},
                {QStringLiteral("user"), ctx.globals.CurrentUserID},
                {QStringLiteral("fields"), QJsonArray{QStringLiteral("00")}}};
    }
    int rows(const char* table) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
            .toInt();
    }

    QTemporaryDir dir;
    std::unique_ptr<PaymentJournal> journal;
    PosDevice device;
    std::optional<SaleResult> answer = approval();
    std::unique_ptr<CardPayment> payment;
    ScriptedTerminal* terminal = nullptr;
    QVector<bool> outcomes;
    qint64 turnId = 0;
    int deviceAsked = 0;
    int terminalsMade = 0;
};

TEST(PosTextsTest, BankCodesAndTerminalStatuses) {
    EXPECT_EQ(BankResponseText(QStringLiteral("51")), QStringLiteral("موجودي كارت كافي نيست."));
    EXPECT_EQ(BankResponseText(QStringLiteral("17")), QStringLiteral("تراكنش توسط كاربر لغو شد."));
    EXPECT_EQ(BankResponseText(QStringLiteral("99")), QStringLiteral("مشكل ارتباط با سرور بانك"));
    EXPECT_EQ(BankResponseText(QStringLiteral("051")), QStringLiteral("مشكل ارتباط با سرور بانك"));
    EXPECT_EQ(TerminalStatusText(114), QStringLiteral("كاربر از تراكنش منصرف شد."));
    EXPECT_EQ(TerminalStatusText(130), QStringLiteral("130"));
}

TEST_P(CardPaymentTest, AnApprovalWritesTheTransactionAndItsBooking) {
    ASSERT_EQ(pay(), std::optional<bool>(true)) << messages.texts().join(u'\n').toStdString();
    const auto t = db().first(QStringLiteral("select * from tblRecPayPosTransaction"));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->text(u"SerialTransaction"), QStringLiteral("RRN77"));
    EXPECT_EQ(t->text(u"Pan"), QStringLiteral("6037****1234"));
    EXPECT_EQ(t->text(u"FarsiTransactionDate"), QString());
    EXPECT_EQ(t->toInt(u"FormTypeID"), 205);
    EXPECT_TRUE(t->isNull(u"FormID"));  // the invoice is not saved yet
    const auto b =
        db().first(QStringLiteral("select * from tblRecPayCashTurnDetail where FormTypeID = 205"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->toInt64(u"CashTurnID"), turnId);
    EXPECT_EQ(b->toInt(u"FormID"), b->toInt(u"ID"));
    EXPECT_EQ(b->money(u"PayedValue"), Money::fromRials(250000));
    EXPECT_EQ(b->money(u"ReceivedValue"), Money());
    EXPECT_EQ(b->toInt(u"RelatedAccountID"), 4401);
    EXPECT_EQ(b->toInt(u"ClassID1"), 3);
    EXPECT_EQ(b->toInt(u"ObjectID1"), 12);
    EXPECT_TRUE(b->isNull(u"ClassID2"));
    EXPECT_TRUE(b->text(u"Description")
                    .startsWith(QStringLiteral(
                        "پرداختي به بانك با دستگاه POS به ازاي فاكتور به شماره رايانهاي ")));
    EXPECT_EQ(messages.last().text, QStringLiteral("پرداخت به بانك با موفقيت انجام شد."));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اطلاع"));
    EXPECT_TRUE(journal->pendingApprovals().empty());
    EXPECT_EQ(terminal->last.amountRials, 250000);
}

TEST_P(CardPaymentTest, MelliWritesZerosAndTheInvoiceDate) {
    device.typeId = 3;
    device.ip = QStringLiteral("127.0.0.1");
    ASSERT_EQ(pay(), std::optional<bool>(true)) << messages.texts().join(u'\n').toStdString();
    const auto t = db().first(QStringLiteral("select * from tblRecPayPosTransaction"));
    EXPECT_EQ(t->text(u"ReasonCode"), QStringLiteral("0"));
    EXPECT_EQ(t->text(u"TraceNumber"), QStringLiteral("0"));
    EXPECT_EQ(t->text(u"TransactionDate"), QStringLiteral("1405/09/15"));
    EXPECT_EQ(messages.texts().first(), QStringLiteral("پرداخت با موفقيت انجام شد. بانک ملي"));
}

TEST_P(CardPaymentTest, ChecksStopBeforeTheTerminalIsAsked) {
    form->doc().totals.GrandTotal = Money();
    EXPECT_EQ(pay(), std::nullopt);
    EXPECT_EQ(messages.last().text, QStringLiteral("مبلغ بايد مشخص شده باشد!"));
    EXPECT_EQ(deviceAsked, 0);
    form->doc().totals.GrandTotal = Money::fromRials(1000);

    const std::pair<std::function<void()>, QString> cases[] = {
        {[this] { device.accountId = 0; },
         QStringLiteral("حساب بدهكار براي تراكنش بانك تنظيم نشده است!")},
        {[this] {
             device.typeId = 3, device.ip = QStringLiteral("127.0.0.1"), device.comPort.clear();
         },
         QStringLiteral("دستگاه پوز به درستي تنظيم نشده است!")},
        {[this] { device.baudRate = 0; },
         QStringLiteral("نرخ انتقال براي دستگاه پوز به درستي تنظيم نشده است!")},
        {[this] { device.typeId = 4; },
         QStringLiteral("براي دستگاه آسان پرداخت, تنظيم آي پي لازم است!")},
        {[this] { device.typeId = 6; },
         QStringLiteral("براي اين نوع از دستگاه پوز، برنامه نويسي نشده است.")},
        {[this] { suite::CashTurnManager(db(), ctx.globals.CurrentUserID).CloseTurn(turnId); },
         QStringLiteral("نوبت صندوقي براي شما باز نيست، لذا امكان درج تراكنش از صندوق به بانك "
                        "انجام نشد!")}};
    const PosDevice good = device;
    for (const auto& [spoil, text] : cases) {
        device = good;
        spoil();
        EXPECT_EQ(pay(), std::nullopt) << text.toStdString();
        EXPECT_EQ(messages.last().text, text);
    }
    EXPECT_EQ(terminalsMade, 0);
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 0);
}

TEST_P(CardPaymentTest, RefusalsSayWhyAndWriteNothing) {
    answer = refusal(109, QStringLiteral("51"));
    payment = makePayment();
    EXPECT_EQ(pay(), std::optional<bool>(false));
    EXPECT_EQ(messages.last().text, QStringLiteral("موجودي كارت كافي نيست."));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال در دستگاه كارتخوان"));
    answer = refusal(130, QString());
    payment = makePayment();
    EXPECT_EQ(pay(), std::optional<bool>(false));
    EXPECT_EQ(messages.last().text, QStringLiteral("130"));
    // Melli: a zero response without an approval code is not a payment.
    device.typeId = 3;
    device.ip = QStringLiteral("127.0.0.1");
    answer = refusal(0, QStringLiteral("0"));
    answer->fields = {{QStringLiteral("ApprovalCode"), QString()},
                      {QStringLiteral("ResponseCode"), QStringLiteral("0")}};
    payment = makePayment();
    EXPECT_EQ(pay(), std::optional<bool>(false));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشکال در پوز بانک ملي"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("OnSaleResultEvent\nApprovalCode: \nResponseCode: 0"));
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 0);
    EXPECT_EQ(rows("tblRecPayPosAttempt"), 0);
}

TEST_P(CardPaymentTest, OneSaleAtATimeAndAPaidInvoiceAsks) {
    answer.reset();  // the terminal keeps the customer waiting
    payment = makePayment();
    ASSERT_TRUE(payment->start());
    auto second = makePayment();
    EXPECT_FALSE(second->start());
    EXPECT_EQ(messages.last().text,
              QStringLiteral("دستگاه پوز هنوز در انتظار پاسخ پرداخت قبلي است."));
    terminal = nullptr;
    payment->cancel();
    QCoreApplication::processEvents();

    // Two approvals with the same zero trace fields are two payments.
    answer = approval(QStringLiteral("0"));
    payment = makePayment();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(pay(), std::optional<bool>(true));
    messages.answerNo();
    EXPECT_EQ(pay(), std::nullopt);  // paid in full already: the cashier says no
    messages.answerYes();
    ASSERT_EQ(pay(), std::optional<bool>(true));
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblRecPayPosTransaction where "
                                         "FormID = ?"),
                          {savedID()})
                  .toInt(),
              2);
}

TEST_P(CardPaymentTest, ADatabaseErrorKeepsTheApprovalForOneLaterWrite) {
    payment->afterTransactionRow = [] { throw std::runtime_error("disk full"); };
    EXPECT_EQ(pay(), std::optional<bool>(false));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("disk full")));
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 0);
    EXPECT_EQ(rows("tblRecPayCashTurnDetail"), 0);
    ASSERT_EQ(journal->pendingApprovals().size(), 1u);
    EXPECT_EQ(RecoverJournaledPayments(ctx, *journal), 1);
    EXPECT_EQ(RecoverJournaledPayments(ctx, *journal), 0);
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 1);
    EXPECT_EQ(rows("tblRecPayCashTurnDetail"), 1);
}

const char* const kChildDb = "SALEINVOICE_CARD_CHILD_DB";
const char* const kChildJournal = "SALEINVOICE_CARD_CHILD_JOURNAL";
const char* const kChildEntry = "SALEINVOICE_CARD_CHILD_ENTRY";

// A workstation that dies between the terminal's approval and the commit.
TEST(CardPaymentChildProcess, DiesBeforeTheCommit) {
    const QString connection = qEnvironmentVariable(kChildDb);
    if (connection.isEmpty()) GTEST_SKIP() << "started only by the test of a killed workstation";
    auto session = Session::open(connection);
    PaymentJournal journal(qEnvironmentVariable(kChildJournal));
    const QJsonObject entry =
        QJsonDocument::fromJson(qEnvironmentVariable(kChildEntry).toUtf8()).object();
    journal.append(QStringLiteral("approved"), entry);
    WriteApprovedPayment(*session, entry, [] { std::_Exit(3); });
}

TEST_P(CardPaymentTest, AWorkstationKilledAfterTheApprovalRecordsItOnce) {
    const QJsonObject entry = approvedEntry(QStringLiteral("a-1"), 250000);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDb), database->connectionString());
    env.insert(QString::fromLatin1(kChildJournal), journal->path());
    env.insert(QString::fromLatin1(kChildEntry),
               QString::fromUtf8(QJsonDocument(entry).toJson(QJsonDocument::Compact)));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=CardPaymentChildProcess.DiesBeforeTheCommit")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 3);
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 0);
    // The next payment of this workstation writes it first, once.
    answer = refusal(114, QString());
    payment = makePayment();
    EXPECT_EQ(pay(), std::optional<bool>(false));
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 1);
    EXPECT_EQ(rows("tblRecPayCashTurnDetail"), 1);
    EXPECT_EQ(RecoverJournaledPayments(ctx, *journal), 0);
    EXPECT_EQ(rows("tblRecPayPosAttempt"), 1);
}

// On the form: the waiting window shows while the terminal is asked and is gone with its answer.
TEST_P(CardPaymentTest, TheWaitingWindowGoesWithTheAnswer) {
    QWidget parent;
    CardPaymentParts parts;
    parts.device = [this] { return std::optional<PosDevice>(device); };
    parts.driver = [this](const PosDevice&) -> std::unique_ptr<pcpos::PosDriver> {
        auto t = std::make_unique<ScriptedTerminal>();
        terminal = t.get();
        return t;
    };
    PayByCard(*form, *journal, parts, &parent);
    auto* window = parent.findChild<QProgressDialog*>(QStringLiteral("frmCardPayment"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->labelText(), QStringLiteral("ارسال مبلغ به دستگاه پوز ...."));
    EXPECT_TRUE(window->isVisible());
    terminal->finish(approval());
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(parent.findChild<QProgressDialog*>(QStringLiteral("frmCardPayment")), nullptr);
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 1);
}

// Every kind of terminal, played by the simulator, through its own driver: one transaction row
// holding the answer's fields in column order (Bank Melli: zeros and the invoice's date) and one
// form-205 booking, each approval once.
TEST_P(CardPaymentTest, EachKindOfTerminalRecordsItsApprovalOnce) {
    const Terminal kinds[] = {{1, true}, {2, true}, {3, false}, {4, false}, {5, false}};
    for (const Terminal& kind : kinds) {
        SCOPED_TRACE(testing::PrintToString(kind));
        TerminalSimulator simulator(QStringLiteral(PCPOS_SIM_EXE), kind,
                                    {QStringLiteral("approve")});
        ASSERT_FALSE(simulator.where().isEmpty());
        device.typeId = kind.typeId;
        device.serialDevice = kind.serial ? simulator.where() : QString();
        device.ip = kind.serial ? QString() : QStringLiteral("127.0.0.1");
        device.ipPort = kind.serial ? 0 : simulator.where().toInt();
        std::optional<SaleResult> answered;
        payment = makePayment();
        CardPaymentParts parts;
        parts.device = [this] { return std::optional<PosDevice>(device); };
        parts.driver = [&answered](const PosDevice& d) {
            auto driver = pcpos::CreatePosDriver(DriverSettingsOf(d));
            QObject::connect(driver.get(), &pcpos::PosDriver::finished,
                             [&answered](const SaleResult& r) { answered = r; });
            return driver;
        };
        payment = std::make_unique<CardPayment>(ctx, form->doc(), *journal, parts);
        QSignalSpy done(payment.get(), &CardPayment::done);
        ASSERT_TRUE(payment->start()) << messages.texts().join(u'\n').toStdString();
        ASSERT_TRUE(done.wait(kTerminalPatienceMs));
        EXPECT_TRUE(done.first().first().toBool()) << messages.texts().join(u'\n').toStdString();
        ASSERT_TRUE(answered);

        const auto t =
            db().first(QStringLiteral("select * from tblRecPayPosTransaction where "
                                      "ID = (select max(ID) from tblRecPayPosTransaction)"));
        ASSERT_TRUE(t);
        QStringList columns;
        for (const char16_t* name : {u"ReasonCode", u"SerialTransaction", u"AccountNo", u"Bin",
                                     u"Pan", u"TerminalNo", u"TraceNumber", u"TransactionDate"})
            columns << t->text(QStringView(name));
        const SaleResult& r = *answered;
        const QStringList expected =
            kind.typeId == 3
                ? QStringList(7, QStringLiteral("0")) << getFarsiDate(form->doc().datCreateDate)
                : QStringList{r.reasonCode, r.serialTransaction, r.accountNo,   r.bin,
                              r.pan,        r.terminalNo,        r.traceNumber, r.transactionDate};
        EXPECT_EQ(columns, expected);
        EXPECT_EQ(t->toInt(u"FormTypeID"), 205);
        EXPECT_EQ(t->toInt(u"UserID"), ctx.globals.CurrentUserID);
        const auto b = db().first(
            QStringLiteral("select * from tblRecPayCashTurnDetail where ID = (select max(ID) from "
                           "tblRecPayCashTurnDetail where FormTypeID = 205)"));
        ASSERT_TRUE(b);
        EXPECT_EQ(b->toInt64(u"CashTurnID"), turnId);
        EXPECT_EQ(b->money(u"PayedValue"), Money::fromRials(250000));
        EXPECT_EQ(b->toInt(u"RelatedAccountID"), 4401);
        EXPECT_EQ(b->toInt(u"ObjectID1"), 12);
    }
    EXPECT_EQ(rows("tblRecPayPosTransaction"), 5);
    EXPECT_EQ(rows("tblRecPayCashTurnDetail"), 5);
    EXPECT_TRUE(journal->pendingApprovals().empty());
}

// An approval a stopped workstation left in its journal is written when the invoice form opens,
// before any payment, and the cashier is told.
TEST_P(CardPaymentTest, TheFormWritesALeftApprovalWhenItOpens) {
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("home")).toUtf8());
    PaymentJournal().append(QStringLiteral("approved"),
                            approvedEntry(QStringLiteral("left-1"), 99000));
    {
        FormMain view(ctx);
        auto installed = InstallModule(view);
        QCoreApplication::processEvents();
        EXPECT_EQ(rows("tblRecPayPosAttempt"), 1);
        EXPECT_TRUE(installed->cardJournal().pendingApprovals().empty());
    }
    qputenv("XDG_DATA_HOME", savedHome);
    EXPECT_EQ(rows("tblRecPayCashTurnDetail"), 1);
    EXPECT_TRUE(messages.texts().join(u'\n').contains(QStringLiteral("اكنون ثبت شد")))
        << messages.texts().join(u'\n').toStdString();
}

SI_INSTANTIATE_BACKENDS(CardPaymentTest);

}  // namespace
}  // namespace si::test

// Workstations saving at the same moment: the test program starts itself several times as
// separate processes on the same database; each child opens its own session, gets its form
// ready, and saves from the same instant on. Final codes stay unique and gap-free, one temporary
// invoice finalised by several workstations is posted once, and goods with little stock are
// never sold past it.

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "PostingTestSupport.h"
#include "erpdb/Procedures.h"

namespace si::test {
namespace {

constexpr int kSavesPerProcess = 4;
constexpr int kProcesses = 2;
const char* const kChildDatabase = "SALEINVOICE_SAVE_CHILD_DB";
const char* const kChildIds = "SALEINVOICE_SAVE_CHILD_IDS";
const char* const kChildStart = "SALEINVOICE_SAVE_CHILD_START";
const char* const kChildInvoice = "SALEINVOICE_SAVE_CHILD_INVOICE";
const char* const kChildBarcode = "SALEINVOICE_SAVE_CHILD_BARCODE";

// The facts a child needs: the database and the rows the parent made.
struct ChildSetup {
    QString connection;
    int user = 0, customer = 0, inventory = 0, type = 0, unit = 0;
    qint64 startAtMs = 0;
    int invoice = 0;
    QString barcode;
};

ChildSetup childSetup() {
    ChildSetup c;
    c.connection = qEnvironmentVariable(kChildDatabase);
    const QStringList ids = qEnvironmentVariable(kChildIds).split(u',');
    if (ids.size() == 5) {
        c.user = ids[0].toInt();
        c.customer = ids[1].toInt();
        c.inventory = ids[2].toInt();
        c.type = ids[3].toInt();
        c.unit = ids[4].toInt();
    }
    c.startAtMs = qEnvironmentVariable(kChildStart).toLongLong();
    c.invoice = qEnvironmentVariable(kChildInvoice).toInt();
    c.barcode = qEnvironmentVariable(kChildBarcode);
    return c;
}

// A workstation of the child's own: its session, a form with the save installed, and a message
// box that answers yes and keeps what it was shown.
struct ChildWorkstation {
    explicit ChildWorkstation(const ChildSetup& c) : ctx(&components, &procedures) {
        erpdb::RegisterProcedures(procedures);
        suite::RegisterComponents(components);
        messages.install(components);
        messages.alwaysAnswer(true);
        ctx.globals.CurrentConnectionString = c.connection;
        ctx.clock = [] { return kTestNow; };
        ctx.globals.CurrentUserID = c.user;
        form = std::make_unique<FormMainLogic>(ctx);
        module = InstallModule(*form);
        save = &module->save();
        form->ClearShow();
    }
    // A new invoice of the parent's customer, inventory and type with one line.
    void newInvoice(const ChildSetup& c, const QString& barcode, double qty) {
        form->cmdNew_Click();
        InvoiceDocument& d = form->doc();
        d.sltType.setIDQuietly(c.type, QString());
        d.sltCustomer.setIDQuietly(c.customer, QString());
        d.sltInventory.setIDQuietly(c.inventory, QString());
        d.sltPaidByCash.setIDQuietly(1, QString());
        d.datCreateDate = QDate(2026, 12, 6);
        InvoiceLine l;
        l.BarCode = l.GoodCode = l.GoodName = barcode;
        l.Qty = l.BaseQty = qty;
        l.ScaleID = c.unit;
        l.UnitPrice = Money::fromRials(1000);
        l.NetAmount = l.LineTotal = l.UnitPrice.times(qty);
        d.flexDetail.appendLine(l);
        d.totals.GrandTotal = d.totals.PureTotalValue = l.LineTotal;
    }
    // Prints the outcome for the parent: SAVED or REFUSED with the messages shown.
    void saveFinal() {
        if (save->SaveInvoice(true))
            std::printf("SAVED CODE=%s\n", qPrintable(form->doc().txtCode));
        else
            std::printf("REFUSED %s\n", qPrintable(messages.texts().join(u' ')));
        std::fflush(stdout);
    }

    ProcedureRegistry procedures;
    ComponentRegistry components;
    MessageScript messages;
    Context ctx;
    std::unique_ptr<FormMainLogic> form;
    std::unique_ptr<InvoiceModule> module;
    SaveLogic* save = nullptr;
};

void waitUntil(qint64 startAtMs) {
    while (QDateTime::currentMSecsSinceEpoch() < startAtMs)
        QThread::msleep(1);
}

// The children's sides; each is skipped unless the parent started it.
TEST(SaveChildProcess, FinaliseInvoices) {
    const ChildSetup c = childSetup();
    if (c.connection.isEmpty()) GTEST_SKIP() << "started only by the concurrency test";
    ChildWorkstation w(c);
    waitUntil(c.startAtMs);
    for (int i = 0; i < kSavesPerProcess; ++i) {
        w.newInvoice(c, QStringLiteral("1001"), 1);
        ASSERT_TRUE(w.save->SaveInvoice(true)) << w.messages.texts().join(u'\n').toStdString();
        std::printf("CODE=%s\n", qPrintable(w.form->doc().txtCode));
    }
}

TEST(SaveChildProcess, FinaliseStoredInvoice) {
    const ChildSetup c = childSetup();
    if (c.connection.isEmpty()) GTEST_SKIP() << "started only by the concurrency test";
    ChildWorkstation w(c);
    w.form->ViewInvoice(c.invoice);
    // A child that starts late may find the invoice final already; Edit is not offered then.
    if (w.form->doc().hasCode()) {
        std::printf("REFUSED already final when shown\n");
        return;
    }
    w.form->cmdEdit_Click();
    ASSERT_EQ(w.form->FormMode(), kModeEdit);
    waitUntil(c.startAtMs);
    w.saveFinal();
}

TEST(SaveChildProcess, SellScarceGoods) {
    const ChildSetup c = childSetup();
    if (c.connection.isEmpty()) GTEST_SKIP() << "started only by the concurrency test";
    ChildWorkstation w(c);
    w.newInvoice(c, c.barcode, 2);
    waitUntil(c.startAtMs);
    w.saveFinal();
}

class SaveConcurrencyTest : public PostingTest {
protected:
    // Starts the children with the given test and extra variables; they begin saving together.
    std::vector<std::unique_ptr<QProcess>> startChildren(
        int processes, const char* childTest, const QList<QPair<QString, QString>>& extra = {}) {
        const QString ids =
            QStringList{QString::number(ctx.globals.CurrentUserID), QString::number(customer),
                        QString::number(inventory), QString::number(type), QString::number(unit)}
                .join(u',');
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildDatabase), database->connectionString());
        env.insert(QString::fromLatin1(kChildIds), ids);
        for (const auto& [name, value] : extra)
            env.insert(name, value);
        // The children get their forms ready first; the start leaves them time for that.
        env.insert(QString::fromLatin1(kChildStart),
                   QString::number(QDateTime::currentMSecsSinceEpoch() + 3000 + 500 * processes));
        std::vector<std::unique_ptr<QProcess>> children;
        for (int i = 0; i < processes; ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env);
            p->setProcessChannelMode(QProcess::MergedChannels);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=SaveChildProcess.") +
                      QString::fromLatin1(childTest)});
            EXPECT_TRUE(p->waitForStarted(10000));
            children.push_back(std::move(p));
        }
        return children;
    }
    // Waits for every child; the output of each, after checking that it ran to its end.
    QStringList outputsOf(std::vector<std::unique_ptr<QProcess>>& children) {
        QStringList outputs;
        for (auto& p : children) {
            EXPECT_TRUE(p->waitForFinished(120000));
            const QString output = QString::fromUtf8(p->readAll());
            EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
            outputs << output;
        }
        return outputs;
    }
    static int countContaining(const QStringList& outputs, const QString& text) {
        int n = 0;
        for (const QString& o : outputs)
            n += o.contains(text) ? 1 : 0;
        return n;
    }
};

TEST_P(SaveConcurrencyTest, TwoProcessesFinalisingAtOnceGetDistinctConsecutiveCodes) {
    auto children = startChildren(kProcesses, "FinaliseInvoices");
    for (const QString& output : outputsOf(children))
        EXPECT_EQ(output.count(QStringLiteral("CODE=")), kSavesPerProcess) << output.toStdString();
    const RowSet codes = db().query(
        QStringLiteral("select Code from tblSaleInvoice where Code is not null order by Code"));
    ASSERT_EQ(codes.size(), kProcesses * kSavesPerProcess);
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i].toInt(u"Code"), i + 1);
}

// Every workstation read the invoice while it was temporary; the first to take the writer lock
// finalises it, and each of the others is told that it was finalised elsewhere.
TEST_P(SaveConcurrencyTest, OneTemporaryInvoiceFinalisedEverywhereIsPostedOnce) {
    enablePosting();
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    auto children = startChildren(4, "FinaliseStoredInvoice",
                                  {{QString::fromLatin1(kChildInvoice), QString::number(id)}});
    const QStringList outputs = outputsOf(children);
    EXPECT_EQ(countContaining(outputs, QStringLiteral("SAVED CODE=1")), 1)
        << outputs.join(u'\n').toStdString();
    EXPECT_EQ(countContaining(outputs, QStringLiteral("در ايستگاه ديگري نهايي شده است")) +
                  countContaining(outputs, QStringLiteral("already final when shown")),
              3)
        << outputs.join(u'\n').toStdString();
    EXPECT_EQ(storedCode(id).toInt(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(distinct DocumentID) from "
                                         "tblAccountDocumentDetail where FormTypeID = 901 and "
                                         "FormID = ?"),
                          {id})
                  .toInt(),
              1);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 1);
    EXPECT_EQ(count(QStringLiteral("tblInventoryDispatch")), 1);
}

// Stock 10, of which 6 are already sold: eight workstations selling 2 each at once may sell
// 4 in all, as one after another would.
TEST_P(SaveConcurrencyTest, ConcurrentSalesNeverSellPastTheStock) {
    const QString scarce = QStringLiteral("3001");
    AddGood(db(), scarce, scarce, QStringLiteral("كالا كمياب"), 1000, unit);
    Receive(db(), inventory, scarce, 10, QDate(2026, 1, 1));
    setParameter(P::StockRule, QStringLiteral("1"));
    ctx.params.setNumber(P::StockRule, 1);
    newInvoice({line(scarce, 6, 1000)});
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    auto children =
        startChildren(8, "SellScarceGoods", {{QString::fromLatin1(kChildBarcode), scarce}});
    const QStringList outputs = outputsOf(children);
    EXPECT_EQ(countContaining(outputs, QStringLiteral("SAVED")), 2)
        << outputs.join(u'\n').toStdString();
    EXPECT_EQ(countContaining(outputs, QStringLiteral("از تعداد موجودي بيشتر است")), 6)
        << outputs.join(u'\n').toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select sum(d.Qty) from tblSaleInvoiceDetail d join "
                                         "tblSaleInvoice i on i.ID = d.InvoiceID where "
                                         "i.Code is not null and d.Barcode = ?"),
                          {scarce})
                  .toDouble(),
              10);
}

SI_INSTANTIATE_BACKENDS(SaveConcurrencyTest);

}  // namespace
}  // namespace si::test

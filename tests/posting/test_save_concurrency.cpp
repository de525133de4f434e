// Two workstations finalising invoices at the same moment: the test program starts itself twice
// as separate processes on the same database; each child opens its own session and finalises a
// few invoices from the same instant on. Every final invoice must get its own code, and the codes
// must run 1..n without a gap.

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

// The facts a child needs: the database and the rows the parent made.
struct ChildSetup {
    QString connection;
    int user = 0, customer = 0, inventory = 0, type = 0, unit = 0;
    qint64 startAtMs = 0;
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
    return c;
}

// The child's side: a workstation of its own, finalising invoices one after another.
TEST(SaveChildProcess, FinaliseInvoices) {
    const ChildSetup c = childSetup();
    if (c.connection.isEmpty()) GTEST_SKIP() << "started only by the concurrency test";
    ProcedureRegistry procedures;
    erpdb::RegisterProcedures(procedures);
    ComponentRegistry components;
    suite::RegisterComponents(components);
    MessageScript messages;
    messages.install(components);
    messages.alwaysAnswer(true);
    Context ctx(&components, &procedures);
    ctx.globals.CurrentConnectionString = c.connection;
    ctx.globals.CurrentUserID = c.user;
    FormMainLogic form(ctx);
    SaveLogic save(form);
    InstallPosting(form, save);
    form.ClearShow();
    while (QDateTime::currentMSecsSinceEpoch() < c.startAtMs)
        QThread::msleep(1);
    for (int i = 0; i < kSavesPerProcess; ++i) {
        form.cmdNew_Click();
        InvoiceDocument& d = form.doc();
        d.sltType.setIDQuietly(c.type, QString());
        d.sltCustomer.setIDQuietly(c.customer, QString());
        d.sltInventory.setIDQuietly(c.inventory, QString());
        d.sltPaidByCash.setIDQuietly(1, QString());
        d.datCreateDate = QDate(2026, 12, 6);
        InvoiceLine l;
        l.BarCode = l.GoodCode = l.GoodName = QStringLiteral("1001");
        l.Qty = l.BaseQty = 1;
        l.ScaleID = c.unit;
        l.UnitPrice = l.NetAmount = l.LineTotal = Money::fromRials(1000);
        d.flexDetail.appendLine(l);
        d.totals.GrandTotal = d.totals.PureTotalValue = Money::fromRials(1000);
        ASSERT_TRUE(save.SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
        std::printf("CODE=%s\n", qPrintable(d.txtCode));
    }
}

class SaveConcurrencyTest : public PostingTest {};

TEST_P(SaveConcurrencyTest, TwoProcessesFinalisingAtOnceGetDistinctConsecutiveCodes) {
    const QString ids =
        QStringList{QString::number(ctx.globals.CurrentUserID), QString::number(customer),
                    QString::number(inventory), QString::number(type), QString::number(unit)}
            .join(u',');
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDatabase), database->connectionString());
    env.insert(QString::fromLatin1(kChildIds), ids);
    // Both children load their forms first and start saving at the same instant.
    env.insert(QString::fromLatin1(kChildStart),
               QString::number(QDateTime::currentMSecsSinceEpoch() + 2500));
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < kProcesses; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SaveChildProcess.FinaliseInvoices")});
        ASSERT_TRUE(p->waitForStarted(10000));
        children.push_back(std::move(p));
    }
    for (auto& p : children) {
        ASSERT_TRUE(p->waitForFinished(120000));
        const QString output = QString::fromUtf8(p->readAll());
        EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
        EXPECT_EQ(output.count(QStringLiteral("CODE=")), kSavesPerProcess) << output.toStdString();
    }
    const RowSet codes = db().query(
        QStringLiteral("select Code from tblSaleInvoice where Code is not null order by Code"));
    ASSERT_EQ(codes.size(), kProcesses * kSavesPerProcess);
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i].toInt(u"Code"), i + 1);
}

SI_INSTANTIATE_BACKENDS(SaveConcurrencyTest);

}  // namespace
}  // namespace si::test

// The batch registration of the list against single final saves at the same moment, each in a
// process of its own on the same database: the test program starts itself as the batch's
// workstation and as the saving ones (the children of the save's concurrency test). Codes stay
// unique and gap-free, and an invoice that the batch and a form finalise at once is finalised once.

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <cstdio>

#include "PostingTestSupport.h"
#include "erpdb/Procedures.h"
#include "posting/BatchFinalRegistration.h"

namespace si::test {
namespace {

// What the save's children read (test_save_concurrency.cpp), and the batch's own list.
const char* const kChildDatabase = "SALEINVOICE_SAVE_CHILD_DB";
const char* const kChildIds = "SALEINVOICE_SAVE_CHILD_IDS";
const char* const kChildStart = "SALEINVOICE_SAVE_CHILD_START";
const char* const kChildInvoice = "SALEINVOICE_SAVE_CHILD_INVOICE";
const char* const kBatchInvoices = "SALEINVOICE_BATCH_CHILD_INVOICES";

constexpr int kBatchInvoiceCount = 20;
constexpr int kSavingProcesses = 2;
constexpr int kSavesPerProcess = 4;  // as the save's FinaliseInvoices child makes

// The batch's workstation: its own session, a box that answers yes; prints what it registered.
TEST(BatchFinalChildProcess, RegisterMarked) {
    const QString connection = qEnvironmentVariable(kChildDatabase);
    if (connection.isEmpty() || !qEnvironmentVariableIsSet(kBatchInvoices))
        GTEST_SKIP() << "started only by the race test";
    ProcedureRegistry procedures;
    ComponentRegistry components;
    MessageScript messages;
    erpdb::RegisterProcedures(procedures);
    messages.install(components);
    messages.alwaysAnswer(true);
    Context ctx(&components, &procedures);
    ctx.globals.CurrentConnectionString = connection;
    ctx.clock = [] { return kTestNow; };
    ctx.globals.CurrentUserID = qEnvironmentVariable(kChildIds).section(u',', 0, 0).toInt();
    OpenSession(ctx);
    LoadSystemParameters(ctx);
    QList<qint64> marked;
    for (const QString& id : qEnvironmentVariable(kBatchInvoices).split(u','))
        marked << id.toLongLong();
    const qint64 startAt = qEnvironmentVariable(kChildStart).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < startAt)
        QThread::msleep(1);
    const int registered = BatchFinalRegistration(ctx).cmdFinalSave(marked);
    std::printf("REGISTERED=%d %s\n", registered, qPrintable(messages.texts().join(u' ')));
    std::fflush(stdout);
}

class BatchFinalRaceTest : public PostingTest {
protected:
    QProcess* start(const QProcessEnvironment& env, const QString& childTest) {
        auto* p = new QProcess;
        children.emplace_back(p);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=") + childTest});
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    QString outputOf(QProcess* p) {
        EXPECT_TRUE(p->waitForFinished(120000));
        const QString output = QString::fromUtf8(p->readAll());
        EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
        return output;
    }
    std::vector<std::unique_ptr<QProcess>> children;
};

TEST_P(BatchFinalRaceTest, BatchAndSingleFinalSavesAtOnceDrawDistinctGapFreeCodes) {
    // An invoice with lines that a form holds open while the batch has it marked too.
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int shared = savedID();
    QStringList marked{QString::number(shared)};
    for (int i = 0; i < kBatchInvoiceCount; ++i) {
        InvoiceRow r;
        r.customer = customer;
        r.inventory = inventory;
        r.type = type;
        marked << QString::number(AddInvoice(db(), r));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDatabase), database->connectionString());
    env.insert(QString::fromLatin1(kChildIds),
               QStringList{QString::number(ctx.globals.CurrentUserID), QString::number(customer),
                           QString::number(inventory), QString::number(type), QString::number(unit)}
                   .join(u','));
    env.insert(QString::fromLatin1(kChildInvoice), QString::number(shared));
    env.insert(QString::fromLatin1(kChildStart),
               QString::number(QDateTime::currentMSecsSinceEpoch() + 5000));
    QProcessEnvironment batchEnv = env;
    batchEnv.insert(QString::fromLatin1(kBatchInvoices), marked.join(u','));

    QProcess* batch = start(batchEnv, QStringLiteral("BatchFinalChildProcess.RegisterMarked"));
    QProcess* form = start(env, QStringLiteral("SaveChildProcess.FinaliseStoredInvoice"));
    std::vector<QProcess*> savers;
    for (int i = 0; i < kSavingProcesses; ++i)
        savers.push_back(start(env, QStringLiteral("SaveChildProcess.FinaliseInvoices")));

    const QString batchOutput = outputOf(batch);
    const QString formOutput = outputOf(form);
    for (QProcess* p : savers)
        EXPECT_EQ(outputOf(p).count(QStringLiteral("CODE=")), kSavesPerProcess);
    const int registered = QRegularExpression(QStringLiteral("REGISTERED=(\\d+)"))
                               .match(batchOutput)
                               .captured(1)
                               .toInt();
    const bool formSaved = formOutput.contains(QStringLiteral("SAVED CODE="));
    EXPECT_EQ(registered + (formSaved ? 1 : 0), kBatchInvoiceCount + 1)
        << batchOutput.toStdString() << formOutput.toStdString();
    EXPECT_TRUE(formSaved ||
                formOutput.contains(QStringLiteral("در ايستگاه ديگري نهايي شده است")) ||
                formOutput.contains(QStringLiteral("already final when shown")))
        << formOutput.toStdString();

    const RowSet codes = db().query(
        QStringLiteral("select Code from tblSaleInvoice where Code is not null order by Code"));
    ASSERT_EQ(codes.size(), kBatchInvoiceCount + 1 + kSavingProcesses * kSavesPerProcess);
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i].toInt(u"Code"), i + 1);
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice where Code is null")), 0);
}

SI_INSTANTIATE_BACKENDS(BatchFinalRaceTest);

}  // namespace
}  // namespace si::test

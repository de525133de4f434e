// Two workstations posting at the same moment: the test program starts itself twice as separate
// processes on one database; each posts the documents and dispatches of its own stored invoices,
// all of one day and one inventory, each inside a writer transaction as the save does. Day
// numbers and dispatch codes must come out distinct and consecutive.

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QThread>

#include "erpdb/Procedures.h"
#include "posting/DocumentTestSupport.h"

namespace si::test {
namespace {

constexpr int kInvoicesPerProcess = 4;
constexpr int kProcesses = 2;
const char* const kChildDatabase = "SALEINVOICE_POSTING_CHILD_DB";
const char* const kChildUser = "SALEINVOICE_POSTING_CHILD_USER";
const char* const kChildInvoices = "SALEINVOICE_POSTING_CHILD_INVOICES";
const char* const kChildStart = "SALEINVOICE_POSTING_CHILD_START";

TEST(PostingChildProcess, PostInvoices) {
    const QString connection = qEnvironmentVariable(kChildDatabase);
    if (connection.isEmpty()) GTEST_SKIP() << "started only by the concurrency test";
    ProcedureRegistry procedures;
    erpdb::RegisterProcedures(procedures);
    ComponentRegistry components;
    MessageScript messages;
    messages.install(components);
    Context ctx(&components, &procedures);
    ctx.globals.CurrentConnectionString = connection;
    ctx.clock = [] { return kTestNow; };
    ctx.globals.CurrentUserID = qEnvironmentVariableIntValue(kChildUser);
    FormMainLogic form(ctx);
    form.ClearShow();
    const qint64 start = qEnvironmentVariable(kChildStart).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < start)
        QThread::msleep(1);
    for (const QString& id : qEnvironmentVariable(kChildInvoices).split(u',')) {
        form.ViewInvoice(id.toInt());
        // The stored rows carry no totals; the boxes are summed as the form has them.
        form.services().totals->ComputeGrandTotalQuickly();
        Transaction t = ctx.db().writerTransaction();
        EXPECT_GT(AccountingDocument(form.ctx(), InvoiceToPost::of(form.doc())).InsertDocument(),
                  0);
        EXPECT_GT(InventoryDispatch(form.ctx(), InvoiceToPost::of(form.doc())).SaveRelExitDoc(), 0);
        t.commit();
    }
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
}

class PostingConcurrencyTest : public PostingFixture {
protected:
    // The values of the column over its table, in order.
    QVector<int> values(const QString& column, const QString& table) {
        QVector<int> list;
        for (const Row& r :
             db().query(QStringLiteral("select ") + column + QStringLiteral(" as v from ") + table +
                        QStringLiteral(" order by 1")))
            list << r.toInt(u"v");
        return list;
    }
};

TEST_P(PostingConcurrencyTest, TwoWorkstationsGetDistinctDayNumbersAndDispatchCodes) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDatabase), database->connectionString());
    env.insert(QString::fromLatin1(kChildUser), QString::number(ctx.globals.CurrentUserID));
    env.insert(QString::fromLatin1(kChildStart),
               QString::number(QDateTime::currentMSecsSinceEpoch() + 2500));
    std::vector<std::unique_ptr<QProcess>> children;
    for (int p = 0; p < kProcesses; ++p) {
        QStringList ids;
        for (int i = 0; i < kInvoicesPerProcess; ++i)
            ids << QString::number(
                storeInvoice({.lines = {{QStringLiteral("1001"), 1, 1000 + 100 * i}}}));
        env.insert(QString::fromLatin1(kChildInvoices), ids.join(u','));
        auto child = std::make_unique<QProcess>();
        child->setProcessEnvironment(env);
        child->setProcessChannelMode(QProcess::MergedChannels);
        child->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=PostingChildProcess.PostInvoices")});
        ASSERT_TRUE(child->waitForStarted(10000));
        children.push_back(std::move(child));
    }
    for (auto& child : children) {
        ASSERT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitCode(), 0) << child->readAll().toStdString();
    }
    QVector<int> consecutive;
    for (int n = 1; n <= kProcesses * kInvoicesPerProcess; ++n)
        consecutive << n;
    EXPECT_EQ(values(QStringLiteral("DayNo"), QStringLiteral("tblAccountDocument")), consecutive);
    EXPECT_EQ(values(QStringLiteral("Code"), QStringLiteral("tblInventoryDispatch")), consecutive);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentDetail where RowNumber=1")),
              kProcesses * kInvoicesPerProcess);
}

SI_INSTANTIATE_BACKENDS(PostingConcurrencyTest);

}  // namespace
}  // namespace si::test

// Two workstations printing the same invoice at the same time: every output is counted, on
// SQLite and on PostgreSQL. Each workstation is this test program started again as a process of
// its own.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "PrintingTestSupport.h"
#include "erpdb/Procedures.h"

namespace si::test {
namespace {

const char* const kChildDb = "SALEINVOICE_PRINT_CHILD_DB";
const char* const kChildUser = "SALEINVOICE_PRINT_CHILD_USER";
const char* const kChildInvoice = "SALEINVOICE_PRINT_CHILD_INVOICE";
const char* const kChildReady = "SALEINVOICE_PRINT_CHILD_READY";
const char* const kChildGo = "SALEINVOICE_PRINT_CHILD_GO";
constexpr int kPrintsEach = 25;

// Polls for a file; false when it does not come within the bound.
bool waitForFile(const QString& path) {
    for (int i = 0; i < 6000 && !QFile::exists(path); ++i)
        QThread::msleep(10);
    return QFile::exists(path);
}

// One workstation: opens the invoice as the form does and previews it kPrintsEach times, starting
// when the test says go.
TEST(PrintChildProcess, PrintsTheInvoice) {
    const QString connection = qEnvironmentVariable(kChildDb);
    if (connection.isEmpty()) GTEST_SKIP() << "started only by the test of two workstations";
    ProcedureRegistry procedures;
    erpdb::RegisterProcedures(procedures);
    ComponentRegistry components;
    MessageScript messages;
    messages.install(components);
    const auto log = InstallReportFake(components);
    Context ctx(&components, &procedures);
    ctx.globals.CurrentConnectionString = connection;
    ctx.globals.CurrentUserID = qEnvironmentVariableIntValue(kChildUser);
    OpenSession(ctx);
    LoadSystemParameters(ctx);
    InvoiceEditor editor(ctx);
    editor.prepare();
    ASSERT_TRUE(editor.openForView(qEnvironmentVariableIntValue(kChildInvoice)));
    const auto module = InstallModule(editor);
    QFile ready(qEnvironmentVariable(kChildReady));
    ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
    ready.close();
    ASSERT_TRUE(waitForFile(qEnvironmentVariable(kChildGo)));
    for (int i = 0; i < kPrintsEach; ++i)
        ASSERT_TRUE(module->printing().Print(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(log->outputs.size(), static_cast<size_t>(kPrintsEach));
}

class PrintRaceTest : public PrintingTest {};

TEST_P(PrintRaceTest, TwoWorkstationsPrintingAtOnceBothCount) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("SaleInvoice.xml")));
    const int id = storedInvoice();
    const QString go = inFolder(QStringLiteral("go"));
    QProcess children[2];
    for (int c = 0; c < 2; ++c) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildDb), database->connectionString());
        env.insert(QString::fromLatin1(kChildUser), QString::number(ctx.globals.CurrentUserID));
        env.insert(QString::fromLatin1(kChildInvoice), QString::number(id));
        env.insert(QString::fromLatin1(kChildReady), inFolder(QStringLiteral("ready%1").arg(c)));
        env.insert(QString::fromLatin1(kChildGo), go);
        children[c].setProcessEnvironment(env);
        children[c].setProcessChannelMode(QProcess::MergedChannels);
        children[c].start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--gtest_filter=PrintChildProcess.PrintsTheInvoice")});
    }
    for (int c = 0; c < 2; ++c)
        ASSERT_TRUE(waitForFile(inFolder(QStringLiteral("ready%1").arg(c))))
            << children[c].readAll().toStdString();
    QFile start(go);
    ASSERT_TRUE(start.open(QIODevice::WriteOnly));
    start.close();
    for (QProcess& child : children) {
        ASSERT_TRUE(child.waitForFinished(120000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    }
    EXPECT_EQ(storedPrintCount(id), 2 * kPrintsEach);
}

SI_INSTANTIATE_BACKENDS(PrintRaceTest);

}  // namespace
}  // namespace si::test

// invoice search with a batch on its result: the spreadsheet of the grid, each invoice printed
// into a PDF file of its own, the temporary invoices deleted; each prints JSON of what it did.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"
#include "common/Codes.h"
#include "support/XlsxReading.h"

namespace si::test {
namespace {

class CliSearchBatch : public CliOneSaleTest {
protected:
    // A stored invoice of one line of the goods; its ID.
    qint64 newInvoice(bool final, const QString& notes) {
        const QJsonObject invoice{
            {QStringLiteral("customer"), customer},
            {QStringLiteral("inventory"), 1},
            {QStringLiteral("notes"), notes},
            {QStringLiteral("lines"), QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                             {QStringLiteral("qty"), 1}}}}};
        QStringList args{QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-")};
        if (final) args << QStringLiteral("--final");
        const CliResult made = run(args, QJsonDocument(invoice).toJson());
        EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
        return made.json().value(QStringLiteral("id")).toInteger();
    }
    QStringList range(qint64 from, qint64 to) const {
        return {QStringLiteral("invoice"), QStringLiteral("search"),   QStringLiteral("--min-id"),
                QString::number(from),     QStringLiteral("--max-id"), QString::number(to)};
    }
    int printCount(qint64 id) {
        return db()
            .scalar(
                QStringLiteral("select coalesce(PrintCount, 0) from tblSaleInvoice where ID = ?"),
                {id})
            .toInt();
    }
    QTemporaryDir folder;
};

TEST_P(CliSearchBatch, TheGridGoesToASpreadsheet) {
    const qint64 first = newInvoice(false, QStringLiteral("صفحه گسترده"));
    const qint64 second = newInvoice(true, QStringLiteral("صفحه گسترده"));
    const QString file = folder.filePath(QStringLiteral("نتيجه.xlsx"));
    const CliResult r = run(range(first, second) << QStringLiteral("--xlsx") << file);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json().value(QStringLiteral("rows")).toInt(), 2);
    const XlsxSheet sheet(file);
    ASSERT_TRUE(sheet.error().isEmpty()) << sheet.error().toStdString();
    EXPECT_TRUE(sheet.rightToLeft());
    EXPECT_EQ(sheet.text(0, 20), QStringLiteral("مبلغ"));
    // The newest first: the final one, then the temporary one.
    EXPECT_EQ(sheet.number(1, 2), static_cast<double>(second));
    EXPECT_EQ(sheet.text(1, 1), QStringLiteral("نهايي"));
    EXPECT_EQ(sheet.text(2, 1), QStringLiteral("موقت"));
    EXPECT_EQ(sheet.text(2, 10), QStringLiteral("صفحه گسترده"));
    const double total =
        db().scalar(QStringLiteral("select TotalValue from tblSaleInvoice where ID = ?"), {first})
            .toDouble();
    EXPECT_EQ(sheet.number(2, 20), total);
    EXPECT_EQ(sheet.cell(2, 20)->numberFormat, QStringLiteral("#,##0"));
}

TEST_P(CliSearchBatch, EachInvoiceIsPrintedIntoAFileOfItsOwn) {
    const qint64 first = newInvoice(false, QStringLiteral("چاپ يكجا"));
    const qint64 second = newInvoice(false, QStringLiteral("چاپ يكجا"));
    const QString pdf = folder.filePath(QStringLiteral("each.pdf"));
    const CliResult r =
        run(range(first, second) << QStringLiteral("--print-each") << QStringLiteral("--pdf") << pdf
                                 << QStringLiteral("--template") << QStringLiteral("1"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray printed = r.json().value(QStringLiteral("printed")).toArray();
    ASSERT_EQ(printed.size(), 2);
    const QStringList files{pdf, folder.filePath(QStringLiteral("each-2.pdf"))};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject one = printed[i].toObject();
        const qint64 id = i == 0 ? second : first;
        EXPECT_EQ(one.value(QStringLiteral("invoice")).toInteger(), id);
        EXPECT_EQ(one.value(QStringLiteral("file")).toString(), files[i]);
        EXPECT_EQ(one.value(QStringLiteral("printCount")).toInt(), 1);
        EXPECT_EQ(printCount(id), 1);
        QFile f(files[i]);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.read(5), QByteArray("%PDF-"));
    }
    // Without --pdf there is nowhere to print: refused before anything is read.
    const CliResult bad = run(range(first, second) << QStringLiteral("--print-each"));
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_EQ(printCount(first), 1);
}

TEST_P(CliSearchBatch, TheTemporaryInvoicesAreDeletedWithTheReasonGiven) {
    const qint64 first = newInvoice(false, QStringLiteral("حذف يكجا"));
    const qint64 kept = newInvoice(true, QStringLiteral("حذف يكجا"));
    const qint64 last = newInvoice(false, QStringLiteral("حذف يكجا"));
    const auto stored = [&] {
        return db()
            .scalar(QStringLiteral("select count(*) from tblSaleInvoice where ID between ? and ?"),
                    {first, last})
            .toInt();
    };
    // The demo keeps delete reasons: one must be given, and the question answered.
    const CliResult noReason = run(QStringList{QStringLiteral("--yes")} + range(first, last) +
                                   QStringList{QStringLiteral("--delete-temp")});
    EXPECT_EQ(noReason.exitCode, 2);
    EXPECT_TRUE(noReason.err.contains(QStringLiteral("--reason"))) << noReason.err.toStdString();
    const CliResult notAnswered =
        run(range(first, last) << QStringLiteral("--delete-temp") << QStringLiteral("--reason")
                               << QStringLiteral("2"));
    EXPECT_EQ(notAnswered.exitCode, 2);
    EXPECT_EQ(stored(), 3);

    const CliResult r = run(QStringList{QStringLiteral("--yes")} + range(first, last) +
                            QStringList{QStringLiteral("--delete-temp"), QStringLiteral("--reason"),
                                        QStringLiteral("2")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json().value(QStringLiteral("deleted")).toArray(), (QJsonArray{last, first}));
    EXPECT_EQ(r.json().value(QStringLiteral("kept")).toArray(), QJsonArray{kept});
    EXPECT_TRUE(r.json().value(QStringLiteral("failed")).toArray().isEmpty());
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select ReasonSequence from tblZelorFormEvent where "
                                         "FormTypeID = 901 and FormCode = ? and EventTypeID = ?"),
                          {first, EventType::InvoiceBatchDeleted})
                  .toInt(),
              2);
}

// The cashier of the demo holds none of the batch rights.
TEST_P(CliSearchBatch, TheRightsOfTheBatchesHold) {
    const qint64 id = newInvoice(false, QStringLiteral("بدون حق"));
    const QString file = folder.filePath(QStringLiteral("refused.xlsx"));
    const CliResult r = run(QStringList{QStringLiteral("--user"), QStringLiteral("2")} +
                            range(id, id) + QStringList{QStringLiteral("--xlsx"), file});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("شما مجاز به انجام اين عمل نمي باشيد.")))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

SI_INSTANTIATE_BACKENDS(CliSearchBatch);

}  // namespace
}  // namespace si::test

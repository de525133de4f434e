// The commands on the whole search result: the list report, the spreadsheet read back from its
// file, the print of each invoice with its count and its cancel, and the rights and the empty
// result that stop each of them.

#include <QDir>

#include "SearchBatchSupport.h"
#include "common/Codes.h"
#include "search/SearchBatchTexts.h"
#include "support/XlsxReading.h"

namespace si::test {
namespace {

class SearchBatchCommandsTest : public SearchBatchTest {
protected:
    void SetUp() override {
        SearchBatchTest::SetUp();
        for (qint64 total : {5000, 1234567, 800})
            ids << storedInvoice(total);
        search();
        listed = result->allIds();
    }
    QList<int> printCounts() {
        QList<int> counts;
        for (int id : ids)
            counts << storedPrintCount(id);
        return counts;
    }
    QList<int> ids;
    QList<qint64> listed;  // in the result's order
};

TEST_P(SearchBatchCommandsTest, TheListReportSelectsEveryListedInvoice) {
    ASSERT_EQ(listed.size(), 3);
    db().exec(QStringLiteral("insert into tblZelorCompany (Name, BasePath) values (?, ?)"),
              {QStringLiteral("شركت نمونه"), folder.path()});
    addTemplate(910, inFolder(QStringLiteral("lists/List.xml")));
    db().exec(
        QStringLiteral("update tblZelorReportTemplate set FilePath = ? where FormTypeID = 910"),
        {QStringLiteral("lists/List.xml")});
    messages.clear();
    ASSERT_TRUE(batch().cmdPrint(*printer)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(chooser.formType, 910);
    EXPECT_EQ(chooser.buttonCaption, QStringLiteral(" چاپ "));
    ASSERT_EQ(report->outputs.size(), 1u);
    const RecordedOutput& out = report->last();
    EXPECT_EQ(out.selection, QStringLiteral("({vwSaleInvoiceSearch.ID} in [%1,%2,%3])")
                                 .arg(listed[0])
                                 .arg(listed[1])
                                 .arg(listed[2]));
    EXPECT_EQ(out.file, QDir(folder.path()).filePath(QStringLiteral("lists/List.xml")));
    EXPECT_EQ(out.destination, 0);
    EXPECT_EQ(out.preview, 1);
    EXPECT_EQ(ReportLog::value(out, QStringLiteral("fmlCompanyName")),
              QStringLiteral("'شركت نمونه'"));
    // Nothing is counted: a list is not an invoice's print.
    EXPECT_EQ(printCounts(), (QList<int>{0, 0, 0}));
}

TEST_P(SearchBatchCommandsTest, TheSpreadsheetHoldsTheGridsCells) {
    frontEnd.file = inFolder(QStringLiteral("result.xlsx"));
    messages.clear();
    EXPECT_EQ(batch().cmdToExcel(), 3);
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(frontEnd.suggestedFile.endsWith(QStringLiteral("/فاکتورها.xlsx")));
    EXPECT_EQ(frontEnd.opened, QStringList{frontEnd.file});

    const XlsxSheet sheet(frontEnd.file);
    ASSERT_TRUE(sheet.error().isEmpty()) << sheet.error().toStdString();
    EXPECT_TRUE(sheet.rightToLeft());
    ASSERT_EQ(sheet.rowCount(), 4);
    const auto& columns = result->columns();
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        EXPECT_EQ(sheet.text(0, c), columns[static_cast<size_t>(c)].header.trimmed()) << c;
        EXPECT_GE(sheet.columnWidth(c), 6) << c;
    }
    for (int r = 0; r < 3; ++r) {
        const qint64 id = listed[r];
        const Row row =
            db().query(QStringLiteral("select * from vwSaleInvoiceSearch where ID = ?"), {id})
                .first();
        EXPECT_EQ(sheet.number(r + 1, 0), r + 1);
        EXPECT_EQ(sheet.text(r + 1, 1), QStringLiteral("موقت"));
        EXPECT_EQ(sheet.number(r + 1, 2), static_cast<double>(id));
        EXPECT_EQ(sheet.cell(r + 1, 3), nullptr);  // a temporary invoice has no code
        EXPECT_EQ(sheet.text(r + 1, 4), QStringLiteral("1405/09/15"));
        EXPECT_EQ(sheet.text(r + 1, 7), QStringLiteral("مشتري نمونه"));
        const XlsxCell* total = sheet.cell(r + 1, 20);
        ASSERT_NE(total, nullptr);
        EXPECT_TRUE(total->isNumber);
        EXPECT_EQ(total->value.toDouble(), row.money(u"TotalValue").toDouble());
        EXPECT_EQ(total->numberFormat, QStringLiteral("#,##0"));
    }
    EXPECT_EQ(sheet.number(2, 20), 1234567);  // the newest first: the second of the three

    // A result read in chunks smaller than itself goes on after each chunk's last row.
    QList<qint64> chunked;
    EXPECT_EQ(result->forEachValueRow(
                  [&](const QVariantList& values) { chunked << values[2].toLongLong(); }, 2),
              3);
    EXPECT_EQ(chunked, listed);
}

TEST_P(SearchBatchCommandsTest, ASpreadsheetNotWrittenIsSaidWithItsFile) {
    frontEnd.file = inFolder(QStringLiteral("no such folder/result.xlsx"));
    messages.clear();
    EXPECT_FALSE(batch().cmdToExcel().has_value());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_TRUE(messages.last().text.contains(frontEnd.file));
    EXPECT_TRUE(frontEnd.opened.isEmpty());
    // Cancelling the save dialog writes nothing and says nothing.
    frontEnd.file.clear();
    messages.clear();
    EXPECT_FALSE(batch().cmdToExcel().has_value());
    EXPECT_TRUE(messages.empty());
}

TEST_P(SearchBatchCommandsTest, EachListedInvoiceIsPrintedAndCountedOnce) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("Invoice.xml")));
    messages.clear();
    const BatchPrintOutcome outcome = batch().cmdBatchPrint(*printer);
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.printed, listed);
    EXPECT_EQ(chooser.chooses, 1);
    EXPECT_EQ(chooser.formType, TemplateFormType::SaleInvoice);
    EXPECT_EQ(printCounts(), (QList<int>{1, 1, 1}));
    ASSERT_EQ(report->outputs.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const RecordedOutput& out = report->outputs[static_cast<size_t>(i)];
        EXPECT_EQ(ReportLog::value(out, QStringLiteral("fmlSLSInvoiceID")),
                  QString::number(listed[i]));
        EXPECT_EQ(out.destination, 1);
        EXPECT_EQ(out.selection, PackingQuery(listed[i]));
    }
    EXPECT_EQ(ReportLog::value(report->outputs[1], QStringLiteral("fmlTotalValue")),
              Money::fromRials(1234567).toString());
    EXPECT_EQ(frontEnd.steps, (QList<int>{0, 1, 2, 3}));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("«3» فاكتور از «3» فاكتور چاپ شد."));

    // The packing list the host's engine receives runs on this database: the invoice's lines.
    const RowSet packing = db().query(PackingQuery(listed[0]));
    ASSERT_EQ(packing.size(), 1);
    EXPECT_EQ(packing.first().toInt64(u"InvoiceID"), listed[0]);
}

// A template of split rows selects its invoice; without the packing view nothing is handed on.
TEST_P(SearchBatchCommandsTest, TheSelectionFollowsTheTemplateAndThePackingView) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("InvoiceSplitRow.xml")));
    ASSERT_TRUE(batch().cmdBatchPrint(*printer).ran);
    ASSERT_EQ(report->outputs.size(), 3u);
    EXPECT_EQ(report->outputs[0].selection,
              QStringLiteral("{tblSaleInvoice.ID}=%1").arg(listed[0]));

    db().exec(QStringLiteral("update tblZelorReportTemplate set FilePath = ?"),
              {inFolder(QStringLiteral("Invoice.xml"))});
    writeTemplateFile(inFolder(QStringLiteral("Invoice.xml")));
    db().exec(QStringLiteral("DROP VIEW vwBPGoodPacking"));
    ASSERT_TRUE(batch().cmdBatchPrint(*printer).ran);
    ASSERT_EQ(report->outputs.size(), 6u);
    EXPECT_EQ(report->outputs[3].selection, QString());
    EXPECT_EQ(printCounts(), (QList<int>{2, 2, 2}));
}

TEST_P(SearchBatchCommandsTest, ACancelStopsAfterTheInvoiceBeingPrinted) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("Invoice.xml")));
    frontEnd.stopBefore = 1;
    messages.clear();
    const BatchPrintOutcome outcome = batch().cmdBatchPrint(*printer);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.printed, QList<qint64>{listed[0]});
    EXPECT_EQ(report->outputs.size(), 1u);
    EXPECT_EQ(storedPrintCount(static_cast<int>(listed[0])), 1);
    EXPECT_EQ(storedPrintCount(static_cast<int>(listed[1])), 0);
    EXPECT_EQ(storedPrintCount(static_cast<int>(listed[2])), 0);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("«1» فاكتور از «3» فاكتور")));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("متوقف")));
}

// An invoice printed as often as allowed is left out, and said; the others print.
TEST_P(SearchBatchCommandsTest, AnInvoiceAtItsPrintLimitIsLeftOut) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("Invoice.xml")));
    useParameter(P::MaxPrintCount, QStringLiteral("1"));
    db().exec(QStringLiteral("update tblSaleInvoice set PrintCount = 1 where ID = ?"), {listed[1]});
    const BatchPrintOutcome outcome = batch().cmdBatchPrint(*printer);
    EXPECT_EQ(outcome.printed, (QList<qint64>{listed[0], listed[2]}));
    EXPECT_EQ(outcome.atPrintLimit, QList<qint64>{listed[1]});
    EXPECT_EQ(storedPrintCount(static_cast<int>(listed[1])), 1);
    EXPECT_TRUE(messages.last().text.contains(QString::number(listed[1])));
}

TEST_P(SearchBatchCommandsTest, EachCommandNeedsItsRight) {
    addTemplate(910, inFolder(QStringLiteral("List.xml")));
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("Invoice.xml")));
    frontEnd.file = inFolder(QStringLiteral("result.xlsx"));
    asClerk({Right::PrintInvoice, Right::DeleteInvoice, Right::Search});
    messages.clear();
    EXPECT_FALSE(batch().cmdPrint(*printer));
    EXPECT_FALSE(batch().cmdToExcel().has_value());
    EXPECT_FALSE(batch().cmdBatchPrint(*printer).ran);
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("شما مجاز به انجام اين عمليات نيستيد."));
    EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("شما مجاز به انجام اين عمل نمي باشيد."));
    EXPECT_EQ(messages.shown()[2].text, QStringLiteral("شما مجاز به انجام اين عمليات نيستيد."));
    EXPECT_EQ(chooser.fills, 0);
    EXPECT_TRUE(report->outputs.empty());
    EXPECT_FALSE(QFile::exists(frontEnd.file));

    asClerk({Right::EditPastAgeLimit, Right::ExportToSpreadsheet, Right::GeneralReceipt});
    EXPECT_TRUE(batch().cmdPrint(*printer));
    EXPECT_TRUE(batch().cmdToExcel().has_value());
    EXPECT_TRUE(batch().cmdBatchPrint(*printer).ran);
}

TEST_P(SearchBatchCommandsTest, AnEmptyResultHasNothingToPrintOrExport) {
    addTemplate(910, inFolder(QStringLiteral("List.xml")));
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("Invoice.xml")));
    frontEnd.file = inFolder(QStringLiteral("result.xlsx"));
    search({{QStringLiteral("txtMinID"), QString::number(ids.last() + 100)}});
    messages.clear();
    EXPECT_FALSE(batch().cmdPrint(*printer));
    EXPECT_FALSE(batch().cmdToExcel().has_value());
    EXPECT_FALSE(batch().cmdBatchPrint(*printer).ran);
    EXPECT_EQ(messages.texts(), (QStringList{batch::kNothingToPrint, batch::kNothingToExport,
                                             batch::kNothingToPrint}));
    EXPECT_EQ(chooser.fills, 0);
    EXPECT_TRUE(report->outputs.empty());
    EXPECT_TRUE(frontEnd.suggestedFile.isEmpty());
    EXPECT_EQ(printCounts(), (QList<int>{0, 0, 0}));
}

SI_INSTANTIATE_BACKENDS(SearchBatchCommandsTest);

}  // namespace
}  // namespace si::test

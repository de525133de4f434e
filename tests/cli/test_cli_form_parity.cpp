// One invoice entered twice, finally: once as a JSON file through the program, once typed into
// the form's logic with the module installed, as the desktop form drives it. Both must store the
// same invoice, the same accounting document rows and the same dispatch lines.

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryFile>
#include <algorithm>

#include "assembly/InvoiceModule.h"
#include "cli/CliTestSupport.h"
#include "common/Jalali.h"
#include "invoice/FormMainLogic.h"
#include "invoice/HeaderLogic.h"
#include "invoice/InvoiceStore.h"
#include "invoice/LinesLogic.h"
#include "invoice/TotalsLogic.h"

namespace si::test {
namespace {

struct EnteredLine {
    QString barcode;
    double qty = 1;
    QString description;
    double discountPercent = 0;
    qint64 price = 0;  // 0: the price the goods bring
};

// What the clerk enters, once for both ways in.
struct EnteredInvoice {
    QDate date;
    int customer = -1;
    int inventory = 1;
    QString notes;
    QString manualCode;
    QVector<EnteredLine> lines;
    double masterDiscountPercent = 0;
    int surchargeType = -1;
    qint64 surcharge = 0;
    int deductionType = -1;
    double deductionPercent = 0;
};

class CliFormParity : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        const QStringList goods = stockedBarcodes(3);
        ASSERT_EQ(goods.size(), 3);
        entered.date = db().today();
        entered.customer = plainCustomer();
        entered.notes = QStringLiteral("تحويل درب انبار، هماهنگي با آقاي كريمي");
        entered.manualCode = QStringLiteral("ق-77");
        entered.lines = {{goods[0], 3, QStringLiteral("بسته بندي ويژه"), 0},
                         {goods[1], 2, QString(), 5},
                         {goods[2], 1, QString(), 0, 123000}};
        entered.masterDiscountPercent = 3;
        entered.surchargeType = firstId("tblZelorSuchargeType");
        entered.surcharge = 45000;
        entered.deductionType = firstId("tblZelorShortageType");
        entered.deductionPercent = 2;
    }

    int firstId(const char* table) {
        return db()
            .scalar(QStringLiteral("SELECT min(ID) FROM ") + QString::fromLatin1(table))
            .toInt();
    }

    QByteArray asJson(const EnteredInvoice& e) const {
        QJsonArray lines;
        for (const EnteredLine& l : e.lines) {
            QJsonObject line{{QStringLiteral("barcode"), l.barcode},
                             {QStringLiteral("qty"), l.qty}};
            if (!l.description.isEmpty()) line.insert(QStringLiteral("description"), l.description);
            if (l.discountPercent != 0)
                line.insert(QStringLiteral("discountPercent"), l.discountPercent);
            if (l.price != 0) line.insert(QStringLiteral("price"), double(l.price));
            lines.append(line);
        }
        const QJsonObject invoice{
            {QStringLiteral("date"), getFarsiDate(e.date)},
            {QStringLiteral("customer"), e.customer},
            {QStringLiteral("inventory"), e.inventory},
            {QStringLiteral("notes"), e.notes},
            {QStringLiteral("manualCode"), e.manualCode},
            {QStringLiteral("masterDiscount"),
             QJsonObject{{QStringLiteral("percent"), e.masterDiscountPercent}}},
            {QStringLiteral("surcharges"),
             QJsonArray{QJsonObject{{QStringLiteral("type"), e.surchargeType},
                                    {QStringLiteral("value"), double(e.surcharge)}}}},
            {QStringLiteral("deductions"),
             QJsonArray{QJsonObject{{QStringLiteral("type"), e.deductionType},
                                    {QStringLiteral("percent"), e.deductionPercent}}}},
            {QStringLiteral("lines"), lines}};
        return QJsonDocument(invoice).toJson();
    }

    // `saleinvoice --yes invoice create FILE --final`; the new invoice's ID, -1 on failure.
    int createThroughProgram(const EnteredInvoice& e) {
        QTemporaryFile file;
        if (!file.open()) return -1;
        file.write(asJson(e));
        file.close();
        const CliResult r =
            run({QStringLiteral("--yes"), QStringLiteral("invoice"), QStringLiteral("create"),
                 file.fileName(), QStringLiteral("--final")});
        programMessages = r.err;
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.exitCode == 0 ? r.json().value(QStringLiteral("id")).toInt() : -1;
    }

    // The clerk's keystrokes on a new invoice of a form in this process, every question answered
    // yes as --yes answers it, then cmdFinalSave; the new invoice's ID, -1 on failure.
    int typeIntoForm(const EnteredInvoice& e) {
        Workstation w(connection(), true);
        w.messages.alwaysAnswer(true);
        FormMainLogic form(w.ctx);
        const std::unique_ptr<InvoiceModule> module = InstallModule(form);
        const bool typed = typeInvoice(form, e);
        const bool saved = typed && module->save().SaveInvoice(true);
        for (const ShownMessage& m : w.messages.shown())
            formMessages += m.caption + QStringLiteral(": ") + m.text + QLatin1Char('\n');
        EXPECT_TRUE(saved) << formMessages.toStdString();
        return saved ? form.doc().invoiceID() : -1;
    }

    static bool typeInvoice(FormMainLogic& form, const EnteredInvoice& e) {
        form.ClearShow();
        form.cmdNew_Click();
        InvoiceDocument& d = form.doc();
        InvoiceServices& s = form.services();
        if (!s.header->SetCreateDate(e.date)) return false;
        d.sltCustomer.setID(e.customer);
        d.sltInventory.setID(e.inventory);
        if (d.sltCustomer.ID() != e.customer || d.sltInventory.ID() != e.inventory) return false;
        d.txtNotes = e.notes;
        d.txtGhabz = e.manualCode;
        for (const EnteredLine& l : e.lines)
            if (!typeLine(form, l)) return false;
        TotalsLogic& totals = *s.totals;
        totals.SetMasterDiscountKind(MasterDiscountKind::Percent);
        totals.MasterDiscountPercentTyped(e.masterDiscountPercent);
        QVector<SurchargeRow> surcharges = totals.SurchargeRowsForDialog();
        auto surcharge = std::find_if(surcharges.begin(), surcharges.end(), [&e](const auto& r) {
            return r.SuchargeTypeID == e.surchargeType;
        });
        if (surcharge == surcharges.end() ||
            !totals.SurchargeValueTyped(*surcharge, Money::fromRials(e.surcharge)) ||
            !totals.ApplySurcharges(surcharges))
            return false;
        QVector<DeductionRow> deductions = totals.DeductionRowsForDialog();
        auto deduction = std::find_if(deductions.begin(), deductions.end(), [&e](const auto& r) {
            return r.ShortageTypeID == e.deductionType;
        });
        if (deduction == deductions.end() ||
            !totals.DeductionPercentTyped(*deduction, e.deductionPercent) ||
            !totals.ApplyDeductions(deductions))
            return false;
        form.RefreshTimer_Timer();
        return true;
    }

    static bool typeLine(FormMainLogic& form, const EnteredLine& l) {
        LinesLogic& lines = *form.services().lines;
        const int row = form.doc().flexDetail.rows() - 1;
        if (!lines.commitCell(row, Col::BarCode, l.barcode) ||
            !lines.commitCell(row, Col::Qty, QString::number(l.qty)))
            return false;
        if (!l.description.isEmpty() && !lines.changeDescription(row, l.description)) return false;
        if (l.price != 0 && !lines.commitCell(row, Col::UnitPrice, QString::number(l.price)))
            return false;
        return l.discountPercent == 0 ||
               lines.commitCell(row, Col::DiscountPercent, QString::number(l.discountPercent));
    }

    // "row account debit credit" per document row, in row order.
    std::string documentRows(int documentId) {
        QStringList rows;
        for (const Row& r :
             db().query(QStringLiteral("SELECT RowNumber, AccountID, DebitValue, CreditValue FROM "
                                       "tblAccountDocumentDetail WHERE DocumentID = ? ORDER BY "
                                       "RowNumber"),
                        {documentId}))
            rows << QStringList{r.text(u"RowNumber"), r.text(u"AccountID"),
                                r.money(u"DebitValue").toString(),
                                r.money(u"CreditValue").toString()}
                        .join(QLatin1Char(' '));
        return rows.join(QLatin1Char('\n')).toStdString();
    }

    // "barcode unit qty unit-qty description" per dispatch line. The lines are sums per barcode
    // and unit without a row number, so they are compared in barcode order.
    std::string dispatchLines(int dispatchId) {
        QStringList rows;
        for (const Row& r :
             db().query(QStringLiteral("SELECT Barcode, ScaleID, Qty, ScaleQty, Description FROM "
                                       "tblInventoryDispatchDetail WHERE DispatchID = ? ORDER BY "
                                       "Barcode, ScaleID"),
                        {dispatchId}))
            rows << QStringList{r.text(u"Barcode"), r.text(u"ScaleID"),
                                QString::number(r.toDouble(u"Qty")),
                                QString::number(r.toDouble(u"ScaleQty")), r.text(u"Description")}
                        .join(QLatin1Char(' '));
        return rows.join(QLatin1Char('\n')).toStdString();
    }

    EnteredInvoice entered;
    QString programMessages;
    QString formMessages;
};

TEST_P(CliFormParity, ProgramAndFormStoreTheSameFinalInvoice) {
    const int viaProgram = createThroughProgram(entered);
    ASSERT_GT(viaProgram, 0);
    const int viaForm = typeIntoForm(entered);
    ASSERT_GT(viaForm, 0);
    EXPECT_EQ(formMessages.toStdString(), programMessages.toStdString());

    const std::optional<Invoice> program = InvoiceStore(db()).read(viaProgram);
    const std::optional<Invoice> form = InvoiceStore(db()).read(viaForm);
    ASSERT_TRUE(program && form);

    // What was entered arrived, so that the comparison below is not one of two empty invoices.
    const InvoiceHeader& h = program->header;
    EXPECT_EQ(h.notes, entered.notes);
    EXPECT_EQ(h.manualCode, entered.manualCode);
    EXPECT_EQ(h.createDate, entered.date);
    EXPECT_EQ(h.customerId, entered.customer);
    ASSERT_GE(program->lines.size(), 3);
    EXPECT_EQ(program->lines[0].description, entered.lines[0].description);
    EXPECT_EQ(program->lines[1].discountPercent, 5);
    EXPECT_EQ(program->lines[2].unitPrice, Money::fromRials(123000));
    EXPECT_FALSE(program->lineDiscounts.isEmpty());
    EXPECT_EQ(program->totals.discountPercent, entered.masterDiscountPercent);
    ASSERT_EQ(program->surcharges.size(), 1);
    EXPECT_EQ(program->surcharges[0].value, Money::fromRials(entered.surcharge));
    ASSERT_EQ(program->deductions.size(), 1);
    EXPECT_EQ(program->deductions[0].percent, entered.deductionPercent);
    ASSERT_TRUE(h.code.has_value());
    EXPECT_GT(program->postings.accountingDocumentId, 0);
    EXPECT_GT(program->postings.dispatchId, 0);
    EXPECT_GT(form->postings.accountingDocumentId, 0);
    EXPECT_GT(form->postings.dispatchId, 0);

    Invoice expected = *program;
    // Each save writes a row of its own...
    expected.header.id = form->header.id;
    // ...and draws the next code of the same series, so the later one has the next number.
    ASSERT_TRUE(form->header.code.has_value());
    EXPECT_EQ(*form->header.code, *h.code + 1);
    expected.header.code = form->header.code;
    // The document and the dispatch are rows of their own; their contents are compared below.
    expected.postings = form->postings;
    EXPECT_TRUE(expected.header == form->header);
    EXPECT_TRUE(expected.totals == form->totals);
    ASSERT_EQ(expected.lines.size(), form->lines.size());
    for (int i = 0; i < expected.lines.size(); ++i)
        EXPECT_TRUE(expected.lines[i] == form->lines[i]) << "line " << i;
    EXPECT_TRUE(expected.lineDiscounts == form->lineDiscounts);
    EXPECT_TRUE(expected.surcharges == form->surcharges);
    EXPECT_TRUE(expected.deductions == form->deductions);
    EXPECT_EQ(expected.rowVersion, form->rowVersion);
    EXPECT_TRUE(expected == *form);

    const std::string programDocument = documentRows(program->postings.accountingDocumentId);
    EXPECT_FALSE(programDocument.empty());
    EXPECT_EQ(documentRows(form->postings.accountingDocumentId), programDocument);
    const std::string programDispatch = dispatchLines(program->postings.dispatchId);
    EXPECT_FALSE(programDispatch.empty());
    EXPECT_EQ(dispatchLines(form->postings.dispatchId), programDispatch);
}

SI_INSTANTIATE_BACKENDS(CliFormParity);

}  // namespace
}  // namespace si::test

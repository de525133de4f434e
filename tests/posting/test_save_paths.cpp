// Paths of the save that depend on data around the invoice: the distribution sheet that keeps a
// copy of a final invoice's lines, the user's access to the customer (parameter 67), and the
// closed accounting object of a final credit sale (parameter 311).

#include "PostingTestSupport.h"

namespace si::test {
namespace {

class SavePathsTest : public PostingTest {
protected:
    int distributionSheet(bool vehicleLeft) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblDistributionInvoice (Code, IsMoved) values (7, ?) "
                           "RETURNING ID"),
            {vehicleLeft ? 1 : 0}));
    }
    void keepOnSheet(int sheet, int invoice, const QString& barcode, double qty) {
        db().exec(QStringLiteral("insert into tblDistributionRemovedInvoiceDetail "
                                 "(DistributionInvoiceID, SaleInvoiceID, Barcode, ScaleID, Qty) "
                                 "values (?, ?, ?, ?, ?)"),
                  {sheet, invoice, barcode, unit, qty});
    }
    // "barcode unit qty" of what the sheet keeps of the invoice, by barcode.
    std::string keptOnSheet(int sheet, int invoice) {
        QStringList kept;
        for (const Row& r : db().query(
                 QStringLiteral("select Barcode, ScaleID, Qty from "
                                "tblDistributionRemovedInvoiceDetail where DistributionInvoiceID "
                                "= ? and SaleInvoiceID = ? order by Barcode, Qty"),
                 {sheet, invoice}))
            kept << r.text(u"Barcode") + QLatin1Char(' ') + r.text(u"ScaleID") + QLatin1Char(' ') +
                        QString::number(r.toDouble(u"Qty"));
        return kept.join(QLatin1Char('\n')).toStdString();
    }
    std::string kept(const QString& barcode, double qty) const {
        return (barcode + QLatin1Char(' ') + QString::number(unit) + QLatin1Char(' ') +
                QString::number(qty))
            .toStdString();
    }
    // A temporary invoice of two lines put on the sheet, as the distribution module leaves it.
    int temporaryOnSheet(int sheet) {
        newInvoice({line(QStringLiteral("1001"), 2, 1000), line(QStringLiteral("1002"), 3, 700)});
        EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
        const int id = savedID();
        db().exec(
            QStringLiteral("update tblSaleInvoice set DistributionInvoiceID = ? where ID = ?"),
            {sheet, id});
        return id;
    }
    // The stored invoice opened for editing as the clerk opens it.
    void edit(int id) {
        form->ViewInvoice(id);
        form->cmdEdit_Click();
        EXPECT_EQ(form->FormMode(), kModeEdit);
        form->RefreshTimer_Timer();
        messages.clear();
    }
    // cmdNew with the fixture's invoice, sold to this customer.
    void invoiceFor(int buyer) {
        newInvoice();
        InvoiceDocument& d = form->doc();
        d.sltCustomer.setID(buyer);
        if (d.sltCustomer.ID() != buyer) d.sltCustomer.setIDQuietly(buyer, QString());
        messages.clear();
    }
    void allowCustomer(int user, int buyer, int formType = 102) {
        db().exec(QStringLiteral("insert into tblZelorAllowablePosition (SecureUserID, "
                                 "FormTypeID, FormID) values (?, ?, ?)"),
                  {user, formType, buyer});
    }
    void expectRefused(const QString& caption, const QString& text) {
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.last().caption.toStdString(), caption.toStdString());
        EXPECT_EQ(messages.last().text.toStdString(), text.toStdString());
    }

    // Parameter 311 with an invoice type whose customer account is detailed by an employee
    // (object 1, class 9) and an organisation (object 2, class 7).
    void useAccountObjects() {
        useParameter(P::AccountObjects, QStringLiteral("1"));
        const int debit = account("1301");
        db().exec(QStringLiteral("update tblSaleInvoiceType set CreditAccountID = ?, "
                                 "DebitAccountID = ?, DiscountAccountID = ?, TaxAccountID = ? "
                                 "where ID = ?"),
                  {account("6101"), debit, account("6201"), account("2301"), type});
        db().exec(QStringLiteral("insert into tblAccountClass (ID, Name, ViewMajor, ViewMinor) "
                                 "values (9, ?, 'vwEmployeeMajor', 'vwEmployeeMinor'), (7, ?, "
                                 "'vwOrganizationMajor', 'vwOrganizationMinor')"),
                  {QStringLiteral("كاركنان"), QStringLiteral("اشخاص")});
        db().exec(QStringLiteral("insert into tblAccountRelatedClasses (AccountID, ClassID, "
                                 "Sequence) values (?, 9, 1), (?, 7, 2)"),
                  {debit, debit});
        salesman = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, SureName) values (?, ?) RETURNING "
                           "ID"),
            {QStringLiteral("سعيد"), QStringLiteral("رحيمي")}));
        installSave();
    }
    // A credit sale billed to the salesman and the customer as the two accounting objects.
    void creditSaleToObjects() {
        newInvoice();
        InvoiceDocument& d = form->doc();
        d.sltPaidByCash.setIDQuietly(2, QString());
        d.sltObject1.setID(salesman);
        d.sltObject2.setID(customer);
        messages.clear();
    }
    void closeObject(int classId, int objectId, const QString& notes) {
        db().exec(QStringLiteral("insert into tblAccountClosedObjects (ClassID, ObjectID, Notes) "
                                 "values (?, ?, ?)"),
                  {classId, objectId, notes});
    }

    int salesman = -1;
};

// A sheet whose vehicle is still at the depot keeps a copy of the final invoice's lines, in place
// of what an earlier save left there; another invoice's copy and a sheet whose vehicle has left
// are not touched, and a temporary save copies nothing.
TEST_P(SavePathsTest, DistributionSheetKeepsTheFinalLinesUntilItsVehicleLeaves) {
    const int atDepot = distributionSheet(false);
    const int id = temporaryOnSheet(atDepot);
    InvoiceRow neighbourRow;
    neighbourRow.customer = customer;
    neighbourRow.distributionInvoice = atDepot;
    const int neighbour = AddInvoice(db(), neighbourRow);
    keepOnSheet(atDepot, id, QStringLiteral("1001"), 9);
    keepOnSheet(atDepot, neighbour, QStringLiteral("1002"), 4);

    edit(id);
    EXPECT_EQ(form->doc().txtDistID, QString::number(atDepot));
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(keptOnSheet(atDepot, id), kept(QStringLiteral("1001"), 9));

    edit(id);
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(storedCode(id).isNull());
    EXPECT_EQ(keptOnSheet(atDepot, id),
              kept(QStringLiteral("1001"), 2) + "\n" + kept(QStringLiteral("1002"), 3));
    EXPECT_EQ(keptOnSheet(atDepot, neighbour), kept(QStringLiteral("1002"), 4));

    const int left = distributionSheet(true);
    const int late = temporaryOnSheet(left);
    keepOnSheet(left, late, QStringLiteral("1001"), 9);
    edit(late);
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(storedCode(late).isNull());
    EXPECT_EQ(keptOnSheet(left, late), kept(QStringLiteral("1001"), 9));
}

// Parameter 67: 1 checks every save, 2 only while the customer form type (102) is secured. The
// user needs a row of their own for this customer and form type 102; a refusal writes nothing.
TEST_P(SavePathsTest, CustomerAccessByParameter67) {
    const QString refused =
        QStringLiteral("شما مجاز به ثبت فاكتور فروش كالا براي اين مشتري نيستيد.");
    const int user = ctx.globals.CurrentUserID;
    const int stranger = AddCustomer(db(), QStringLiteral("مشتري ديگر"), QStringLiteral("C2"));
    allowCustomer(user, customer);
    allowCustomer(addUser(QStringLiteral("فروشنده ديگر"), false), stranger);
    allowCustomer(user, stranger, 901);

    invoiceFor(stranger);
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();

    useParameter(P::CustomerAccessRule, QStringLiteral("1"));
    const int stored = count(QStringLiteral("tblSaleInvoice"));
    for (bool final : {false, true}) {
        SCOPED_TRACE(final ? "final" : "temporary");
        invoiceFor(stranger);
        EXPECT_FALSE(save->SaveInvoice(final));
        expectRefused(kErrorCaption, refused);
        EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), stored);
    }
    invoiceFor(customer);
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(storedCode(savedID()).isNull());

    useParameter(P::CustomerAccessRule, QStringLiteral("2"));
    invoiceFor(stranger);  // no row for form type 102
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    db().exec(QStringLiteral("insert into tblZelorFormType (ID, Name, SecurityTypeID) values "
                             "(102, ?, 0)"),
              {QStringLiteral("مشتري")});
    invoiceFor(stranger);
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    db().exec(QStringLiteral("update tblZelorFormType set SecurityTypeID = 1 where ID = 102"));
    const int before = count(QStringLiteral("tblSaleInvoice"));
    invoiceFor(stranger);
    EXPECT_FALSE(save->SaveInvoice(false));
    expectRefused(kErrorCaption, refused);
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), before);
    invoiceFor(customer);
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
}

// Parameter 311: a final credit sale whose customer object (object 2, an organisation) is
// closed asks, or with parameter 103 refuses, with the closing notes; a temporary save does not
// look, and closed rows of the other object or of another class leave the sale open.
TEST_P(SavePathsTest, ClosedAccountingObjectStopsAFinalCreditSale) {
    useAccountObjects();
    const QString notes = QStringLiteral("تسويه كامل و بستن حساب در پايان قرارداد");
    closeObject(7, customer, notes);
    const QString closed =
        QStringLiteral(
            "مشتري انتخاب شده حساب باز ندارد. از اينرو امكان ثبت سند حسابداري متناظر با "
            "اين فاكتور فروش كالا وجود ندارد. توضيح بيشتر: ") +
        notes;
    creditSaleToObjects();
    ASSERT_EQ(form->doc().Object1ClassID, 9);
    ASSERT_EQ(form->doc().Object2ClassID, 7);
    ASSERT_EQ(form->doc().sltCustomer.ID(), customer);

    messages.answerNo();
    EXPECT_FALSE(save->SaveInvoice(true));
    expectRefused(QStringLiteral("هشدار"), closed + QStringLiteral(".آيا ادامه ميدهيد؟"));
    EXPECT_EQ(messages.last().formType, 1);
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 0);

    useParameter(P::WarnNoOpenAccount, QStringLiteral("1"));
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(true));
    expectRefused(QStringLiteral("هشدار"), closed);
    EXPECT_EQ(messages.last().formType, 0);
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 0);

    messages.clear();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(messages.anyContains(QStringLiteral("حساب باز ندارد")));

    db().exec(QStringLiteral("delete from tblAccountClosedObjects"));
    closeObject(9, salesman, notes);
    closeObject(9, customer, notes);
    edit(savedID());
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(messages.anyContains(QStringLiteral("حساب باز ندارد")));
    EXPECT_FALSE(storedCode(savedID()).isNull());
}

}  // namespace

SI_INSTANTIATE_BACKENDS(SavePathsTest);

}  // namespace si::test

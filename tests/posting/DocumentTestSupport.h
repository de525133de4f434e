#pragma once
// Stored final invoices for the posting tests: the rows are written directly (as a save leaves
// them), then the invoice is shown in a form and posted inside a writer transaction, as the save
// does. Accounts of a fully configured invoice type, a customer with a leaf account, goods with
// tax and duty, surcharge types with their ledger accounts.

#include <QMap>
#include <QVector>

#include "common/Jalali.h"
#include "invoice/FormTestSupport.h"
#include "invoice/TotalsLogic.h"
#include "posting/AccountingDocument.h"
#include "posting/InventoryDispatch.h"
#include "support/InvoiceFixtures.h"

namespace si {

static inline void PrintTo(const Money& m, std::ostream* os) {
    *os << m.toString().toStdString();
}

namespace test {

inline Money rials(qint64 n) {
    return Money::fromRials(n);
}

struct StoredLine {
    StoredLine(QString barcode, double qty, qint64 price, qint64 discount = 0, int unit = -1,
               QString description = QString())
        : barcode(std::move(barcode)),
          qty(qty),
          price(price),
          discount(discount),
          unit(unit),
          description(std::move(description)) {}
    QString barcode;
    double qty;
    qint64 price;
    qint64 discount;  // the line's discount as an amount
    int unit;         // -1: the fixture's unit
    QString description;
};

struct StoredInvoice {
    QDate date = QDate(2026, 12, 6);
    QVector<StoredLine> lines{};
    qint64 masterDiscount = 0;
    QVector<QPair<int, qint64>> surcharges{};  // surcharge type, amount
    qint64 deductions = 0;
    bool formal = false;  // taxed at the fixture's 9 % and 3 %
    int inventory = 0;    // 0: the fixture's inventory, -1: none
    int customer = 0;     // 0: the fixture's customer
    int branch = -1;
    int promoter = -1;
    bool fromDispatch = false;
    int code = 1;
    QString notes{};
};

struct DocumentLine {
    int row = 0;
    int account = 0;
    Money debit;
    Money credit;
    int documentType = 0;
};

class PostingFixture : public FormTest {
public:
    using ContextTest::db;

protected:
    void SetUp() override {
        FormTest::SetUp();
        unit = AddUnit(db(), QStringLiteral("عدد"), 1, true);
        box = AddUnit(db(), QStringLiteral("جعبه"), 12, true);
        customer = AddCustomer(db(), QStringLiteral("مشتري نمونه"), QStringLiteral("C1"));
        inventory = AddInventory(db(), QStringLiteral("انبار مركزي"));
        GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
        for (const char* barcode : {"1001", "1002", "1003"}) {
            AddGood(db(), QString::fromLatin1(barcode), QString::fromLatin1(barcode),
                    QStringLiteral("كالا ") + QString::fromLatin1(barcode), 1000, unit);
        }
        db().exec(QStringLiteral("update tblGood set HasTax=1, HasAdded=1"));
        db().exec(QStringLiteral("insert into tblGoodSaleScale (Barcode, ScaleID) values (?, ?)"),
                  {QStringLiteral("1001"), box});
        db().exec(QStringLiteral("insert into tblSaleTaxCostsConfiguration (BeginDate, EndDate, "
                                 "TaxPercent, AddedPercent) values (?, ?, 9, 3)"),
                  {QDate(2020, 1, 1), QDate(2030, 12, 31)});
        type = AddInvoiceType(db(), QStringLiteral("فروش عادي"));
        configureTypeAccounts(type);
        customerAccount = addAccount(QStringLiteral("1101"));
        giveCustomerAccount(customer, customerAccount);
    }

public:  // the helpers are reached from the tables of cases too
    int addAccount(const QString& code, int parent = -1) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title, ParentID, IsClosed) values "
                           "(?, ?, ?, 0) RETURNING ID"),
            {code, QStringLiteral("حساب ") + code, parent > 0 ? QVariant(parent) : QVariant()}));
    }
    // Every account column of the type gets an account of its own, kept in typeAccount.
    void configureTypeAccounts(int invoiceType) {
        const QStringList columns =
            QStringLiteral(
                "CreditAccountID DebitAccountID DiscountAccountID TaxAccountID "
                "AddedAccountID RoundAccountID DescAccountID SuchargeAccountID "
                "TotalDiscountAccountID StackholderDiscountAccountID "
                "StackholderShareAccountID AdversDiscountAccountID "
                "AdversShareAccountID EduDiscountAccountID EduShareAccountID")
                .split(QLatin1Char(' '));
        int code = 4100;
        for (const QString& name : columns) {
            typeAccount[name] = addAccount(QString::number(++code));
            setTypeAccount(invoiceType, name, typeAccount[name]);
        }
    }
    // The column is chosen by the test, never by data.
    void setTypeAccount(int invoiceType, const QString& column, const QVariant& account) {
        db().exec(QStringLiteral("update tblSaleInvoiceType set ") + column +
                      QStringLiteral(" = ? where ID = ?"),
                  {account, invoiceType});
    }
    void giveCustomerAccount(int organization, int account) {
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, "
                                 "RelatedClassID, RelatedObjectID) values (?, 7, ?)"),
                  {account, organization});
    }
    // A surcharge type posted to a ledger account with the given code (none: no account).
    int addSurchargeType(const QString& name, const QString& accountCode, bool withAccount) {
        if (withAccount) addAccount(accountCode);
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblZelorSuchargeType (Name, AccountCode) values (?, ?) "
                           "RETURNING ID"),
            {name, accountCode}));
    }
    int addEmployee(const QString& name) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, SureName) values (?, ?) "
                           "RETURNING ID"),
            {name, name}));
    }

    int storeInvoice(const StoredInvoice& in) {
        InvoiceRow row;
        row.date = in.date;
        row.customer = in.customer == 0 ? customer : in.customer;
        row.inventory = in.inventory == 0 ? inventory : in.inventory;
        row.type = type;
        row.code = in.code;
        row.notes = in.notes;
        const int id = AddInvoice(db(), row);
        qint64 deductions = 0;
        qint64 surcharges = 0;
        for (const auto& [kind, amount] : in.surcharges) {
            db().exec(QStringLiteral("insert into tblSaleInvoiceSucharge (InvoiceID, "
                                     "SuchargeTypeID, Value) values (?, ?, ?)"),
                      {id, kind, QVariant::fromValue(rials(amount))});
            surcharges += amount;
        }
        if (in.deductions > 0) {
            const int kind = static_cast<int>(db().insertReturningId(
                QStringLiteral("insert into tblZelorShortageType (Name) values (?) RETURNING ID"),
                {QStringLiteral("كسري")}));
            db().exec(QStringLiteral("insert into tblSaleInvoiceShortage (InvoiceID, "
                                     "ShortageTypeID, Value) values (?, ?, ?)"),
                      {id, kind, QVariant::fromValue(rials(in.deductions))});
            deductions = in.deductions;
        }
        auto orNull = [](int v) { return v > 0 ? QVariant(v) : QVariant(); };
        db().exec(
            QStringLiteral("update tblSaleInvoice set DiscountTypeID=4, DiscountValue=?, "
                           "SuchargeValue=?, ShortageValue=?, IsFormal=?, BranchID=?, "
                           "PromoterID=?, IsFromDispatch=? where ID=?"),
            {QVariant::fromValue(rials(in.masterDiscount)), QVariant::fromValue(rials(surcharges)),
             QVariant::fromValue(rials(deductions)), in.formal ? 1 : 0, orNull(in.branch),
             orNull(in.promoter), in.fromDispatch ? 1 : 0, id});
        int number = 0;
        for (const StoredLine& l : in.lines) {
            AddInvoiceLine(db(), id, l.barcode, l.qty, l.price, l.unit > 0 ? l.unit : unit,
                           ++number);
            db().exec(QStringLiteral("update tblSaleInvoiceDetail set DiscountTypeID=2, "
                                     "DiscountValue=?, Description=? where InvoiceID=? and "
                                     "RowNumber=?"),
                      {QVariant::fromValue(rials(l.discount)), l.description, id, number});
        }
        return id;
    }

    // Shows the stored invoice and sums its boxes again, as the form has them when it saves.
    void load(int id) {
        form->ViewInvoice(id);
        form->services().totals->ComputeGrandTotalQuickly();
    }
    InvoiceDocument& doc() { return form->doc(); }

    int post() {
        Transaction t = db().writerTransaction();
        const int id =
            AccountingDocument(form->ctx(), InvoiceToPost::of(form->doc())).InsertDocument();
        t.commit();
        return id;
    }
    int dispatch() {
        Transaction t = db().writerTransaction();
        const int id =
            InventoryDispatch(form->ctx(), InvoiceToPost::of(form->doc())).SaveRelExitDoc();
        t.commit();
        return id;
    }

    QVector<DocumentLine> documentLines(int documentId) {
        QVector<DocumentLine> lines;
        for (const Row& r : db().query(QStringLiteral("select RowNumber, AccountID, DebitValue, "
                                                      "CreditValue, DocumentTypeID from "
                                                      "tblAccountDocumentDetail where "
                                                      "DocumentID = ? order by RowNumber"),
                                       {documentId}))
            lines.append({r.toInt(u"RowNumber"), r.toInt(u"AccountID"), r.money(u"DebitValue"),
                          r.money(u"CreditValue"), r.toInt(u"DocumentTypeID")});
        return lines;
    }
    static QVector<int> rowNumbers(const QVector<DocumentLine>& lines) {
        QVector<int> rows;
        for (const DocumentLine& l : lines)
            rows << l.row;
        return rows;
    }
    static const DocumentLine* rowOf(const QVector<DocumentLine>& lines, int row) {
        for (const DocumentLine& l : lines)
            if (l.row == row) return &l;
        return nullptr;
    }
    int count(const QString& tableAndCondition, const Params& params = {}) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + tableAndCondition, params)
            .toInt();
    }

    int unit = -1;
    int box = -1;
    int customer = -1;
    int inventory = -1;
    int type = -1;
    int customerAccount = -1;
    QMap<QString, int> typeAccount;
};

}  // namespace test
}  // namespace si

#include "support/ReportFixtures.h"

#include <QStringList>
#include <stdexcept>

#include "common/Numbers.h"

namespace si::test {

qint64 NewestFinalInvoice(Session& db) {
    return db
        .scalar(QStringLiteral("select max(ID) from tblSaleInvoice where Code is not null and "
                               "exists (select 1 from tblSaleInvoiceDetail d where "
                               "d.InvoiceID = tblSaleInvoice.ID)"))
        .toLongLong();
}

qint64 AddInvoiceWithLines(Session& db, int lines) {
    const qint64 model = NewestFinalInvoice(db);
    const RowSet pool =
        db.query(QStringLiteral("select Barcode, ScaleID, RetailPrice from tblSaleInvoiceDetail "
                                "where coalesce(IsEchantillon, 0) = 0 order by ID limit 300"));
    if (pool.empty()) throw std::runtime_error("the demo has no invoice lines");
    Transaction t = db.transaction();
    const qint64 id = db.insertReturningId(
        QStringLiteral("insert into tblSaleInvoice (TypeID, CustomerID, InventoryID, BranchID, "
                       "PricingMethodID, CreatorID, CreateDate, FarsiCreateDate, IsPaidByCash, "
                       "IsFormal) select TypeID, CustomerID, InventoryID, BranchID, "
                       "PricingMethodID, CreatorID, CreateDate, FarsiCreateDate, IsPaidByCash, "
                       "IsFormal from tblSaleInvoice where ID = ? RETURNING ID"),
        {model});
    Money total;
    for (int row = 1; row <= lines; ++row) {
        const Row& line = pool[(row - 1) % pool.size()];
        const int qty = 1 + row % 3;
        db.exec(QStringLiteral("insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, Barcode, "
                               "ScaleID, Qty, RetailPrice, DiscountValue, TaxValue, AddedValue) "
                               "values (?, ?, ?, ?, ?, ?, 0, 0, 0)"),
                {id, row, line.text(u"Barcode"), line.value(u"ScaleID"), qty,
                 QVariant::fromValue(line.money(u"RetailPrice"))});
        total += line.money(u"RetailPrice") * qty;
    }
    db.exec(
        QStringLiteral("update tblSaleInvoice set TotalValue = ?, PureTotalValue = ? where ID = ?"),
        {QVariant::fromValue(total), QVariant::fromValue(total), id});
    t.commit();
    return id;
}

QString TextFormula(const QString& name, const QString& value) {
    return name + QStringLiteral("='") + QString(value).replace(u'\'', QStringLiteral("''")) +
           QLatin1Char('\'');
}

QMap<int, QString> InvoicePrintFormulas(Session& db, qint64 invoiceId) {
    const Row invoice = *db.first(
        QStringLiteral("select s.TotalValue, trim(coalesce(o.FirstName, '') || ' ' || "
                       "coalesce(o.Name, '')) as Name, o.Address, o.Phone1, o.Code from "
                       "tblSaleInvoice s left join tblOrganization o on o.ID = s.CustomerID "
                       "where s.ID = ?"),
        {invoiceId});
    const auto company = db.first(QStringLiteral("select * from vwZelorCompany order by ID"));
    const auto companyText = [&](const char16_t* field) {
        return company ? company->text(field) : QString();
    };
    const QStringList items{
        QStringLiteral("fmlSLSInvoiceID=%1").arg(invoiceId),
        QStringLiteral("fmlID=%1").arg(invoiceId),
        TextFormula(QStringLiteral("Alphabet"),
                    AmountInWords(invoice.money(u"TotalValue")) + QStringLiteral(" ريال")),
        TextFormula(QStringLiteral("fmlCompanyName"), companyText(u"Name")),
        TextFormula(QStringLiteral("fmlCompanyAddress"), companyText(u"Address")),
        TextFormula(QStringLiteral("fmlCompanyPhone"), companyText(u"Phone")),
        TextFormula(QStringLiteral("fmlCompanyFax"), companyText(u"Fax")),
        TextFormula(QStringLiteral("fmlCompanyEmail"), companyText(u"Email")),
        TextFormula(QStringLiteral("fmlCustomerName"), invoice.text(u"Name")),
        TextFormula(QStringLiteral("fmlCustomerAddress"), invoice.text(u"Address")),
        TextFormula(QStringLiteral("fmlCustomerPhone"), invoice.text(u"Phone1")),
        TextFormula(QStringLiteral("fmlCustomerCode"), invoice.text(u"Code")),
        TextFormula(QStringLiteral("fmlPrintDate"), QStringLiteral("1405/09/15")),
        QStringLiteral("fmlTotalValue=") + invoice.money(u"TotalValue").toString(),
    };
    QMap<int, QString> numbered;
    for (const QString& item : items)
        numbered.insert(static_cast<int>(numbered.size()) + 1, item);
    return numbered;
}

}  // namespace si::test

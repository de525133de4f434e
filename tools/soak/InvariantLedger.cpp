// Accounting documents balance (debit = credit) and have rows; no row lives without the row it
// hangs on.

#include "InvariantChecks.h"

namespace si::soak {

namespace {

QString amount(Money m) {
    return QString::number(m.toDouble(), 'f', 0);
}

struct Dependent {
    const char* name;
    const char* table;
    const char* parentCondition;  // true when the row's parent exists
    bool saleInvoiceForm;         // only rows posted for a sale invoice (one bound form type)
};

// Rows whose parent is gone: the writes of a save, a delete or a posting were cut half-way.
const Dependent kDependents[] = {
    {"invoice lines without their invoice", "tblSaleInvoiceDetail",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.InvoiceID)", false},
    {"line discount rows without their invoice", "tblSaleInvoiceDetailDiscount",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.InvoiceID)", false},
    {"line trace rows without their invoice", "tblSaleInvoiceDetailTrace",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.InvoiceID)", false},
    {"surcharge rows without their invoice", "tblSaleInvoiceSucharge",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.InvoiceID)", false},
    {"deduction rows without their invoice", "tblSaleInvoiceShortage",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.InvoiceID)", false},
    {"scale barcodes without their invoice", "tblSaleInvoiceScaleBarcode",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.InvoiceID)", false},
    {"document rows without their document", "tblAccountDocumentDetail",
     "EXISTS (SELECT 1 FROM tblAccountDocument p WHERE p.ID = c.DocumentID)", false},
    {"document objects without their document", "tblAccountDocumentObjects",
     "EXISTS (SELECT 1 FROM tblAccountDocument p WHERE p.ID = c.DocumentID)", false},
    {"dispatch rows without their dispatch", "tblInventoryDispatchDetail",
     "EXISTS (SELECT 1 FROM tblInventoryDispatch p WHERE p.ID = c.DispatchID)", false},
    {"dispatch trace rows without their dispatch", "tblInventoryDispatchDetailTrace",
     "EXISTS (SELECT 1 FROM tblInventoryDispatch p WHERE p.ID = c.DispatchID)", false},
    {"cash-turn rows without their turn", "tblRecPayCashTurnDetail",
     "EXISTS (SELECT 1 FROM tblRecPayCashTurn p WHERE p.ID = c.CashTurnID)", false},
    {"document rows of a missing invoice", "tblAccountDocumentDetail",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.FormID)", true},
    {"dispatches of a missing invoice", "tblInventoryDispatch",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.FormID)", true},
    {"cash-turn rows of a missing invoice", "tblRecPayCashTurnDetail",
     "EXISTS (SELECT 1 FROM tblSaleInvoice p WHERE p.ID = c.FormID)", true},
};

Invariant dependentRows(Session& s, const Dependent& d) {
    Invariant inv{QString::fromLatin1(d.name)};
    const QString from = QStringLiteral(" FROM ") + QString::fromLatin1(d.table) +
                         QStringLiteral(" c WHERE ") +
                         (d.saleInvoiceForm ? QStringLiteral("c.FormTypeID = ? AND ") : QString());
    const Params form = d.saleInvoiceForm ? Params{kSaleInvoiceForm} : Params{};
    inv.checked = s.scalar(QStringLiteral("SELECT count(*)") + from + QStringLiteral("1 = 1"), form)
                      .toLongLong();
    for (const Row& r :
         s.query(QStringLiteral("SELECT c.ID") + from + QStringLiteral("NOT ") +
                     QString::fromLatin1(d.parentCondition) + QStringLiteral(" ORDER BY c.ID"),
                 form))
        inv.violations << QStringLiteral("row %1").arg(r.toInt64(u"ID"));
    return inv;
}

}  // namespace

void CheckDocumentsBalance(Session& s, CheckResult& result) {
    Invariant balanced{QStringLiteral("accounting documents balanced (debit = credit)")};
    Invariant withRows{QStringLiteral("accounting documents with rows")};
    for (const Row& r : s.query(QStringLiteral(
             "SELECT d.ID, count(r.ID) AS RowCount, min(r.FormID) AS FormID, "
             "coalesce(sum(r.DebitValue), 0) AS Debit, coalesce(sum(r.CreditValue), 0) AS Credit "
             "FROM tblAccountDocument d LEFT JOIN tblAccountDocumentDetail r "
             "ON r.DocumentID = d.ID GROUP BY d.ID ORDER BY d.ID"))) {
        ++balanced.checked;
        ++withRows.checked;
        const qint64 id = r.toInt64(u"ID");
        if (r.toInt(u"RowCount") == 0) {
            withRows.violations << QStringLiteral("document %1 has no rows").arg(id);
            continue;
        }
        const Money debit = r.money(u"Debit"), credit = r.money(u"Credit");
        if (debit != credit)
            balanced.violations << QStringLiteral("document %1 (invoice %2): debit %3, credit %4")
                                       .arg(id)
                                       .arg(r.toInt64(u"FormID"))
                                       .arg(amount(debit), amount(credit));
    }
    result.invariants << balanced << withRows;
}

void CheckOrphans(Session& s, const CheckScope& scope, CheckResult& result) {
    for (const Dependent& d : kDependents)
        result.invariants << dependentRows(s, d);
    Invariant lines{QStringLiteral("load invoices with lines")};
    lines.checked = s.scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoice WHERE ID >= ?"),
                             {scope.firstLoadInvoice})
                        .toLongLong();
    for (const Row& r :
         s.query(QStringLiteral("SELECT i.ID FROM tblSaleInvoice i WHERE i.ID >= ? AND NOT EXISTS "
                                "(SELECT 1 FROM tblSaleInvoiceDetail d WHERE d.InvoiceID = i.ID) "
                                "ORDER BY i.ID"),
                 {scope.firstLoadInvoice}))
        lines.violations << QStringLiteral("invoice %1 has no lines").arg(r.toInt64(u"ID"));
    result.invariants << lines;
}

}  // namespace si::soak

// Goods: each dispatch of a load invoice carries exactly the invoice's quantities, and no stock
// level that the stock rule holds fell below zero (or below where it already was) during the load.

#include <QHash>
#include <QSet>

#include "InvariantChecks.h"

namespace si::soak {

void CheckDispatchesMatchLines(Session& s, const CheckScope& scope, CheckResult& result) {
    Invariant inv{QStringLiteral("load dispatches carry their invoice's quantities")};
    QHash<qint64, QHash<QString, double>> lines, dispatched;
    const auto key = [](const Row& r) {
        return r.text(u"Barcode") + QLatin1Char('/') + r.text(u"ScaleID");
    };
    for (const Row& r :
         s.query(QStringLiteral("SELECT d.InvoiceID, d.Barcode, d.ScaleID, sum(d.Qty) AS Qty "
                                "FROM tblSaleInvoiceDetail d JOIN tblSaleInvoice i ON i.ID = "
                                "d.InvoiceID WHERE i.Code IS NOT NULL AND i.ID >= ? "
                                "GROUP BY d.InvoiceID, d.Barcode, d.ScaleID"),
                 {scope.firstLoadInvoice}))
        lines[r.toInt64(u"InvoiceID")][key(r)] = r.toDouble(u"Qty");
    for (const Row& r :
         s.query(QStringLiteral("SELECT x.FormID, d.Barcode, d.ScaleID, sum(d.Qty) AS Qty "
                                "FROM tblInventoryDispatch x JOIN tblInventoryDispatchDetail d "
                                "ON d.DispatchID = x.ID WHERE x.FormTypeID = ? AND x.FormID >= ? "
                                "GROUP BY x.FormID, d.Barcode, d.ScaleID"),
                 {kSaleInvoiceForm, scope.firstLoadInvoice}))
        dispatched[r.toInt64(u"FormID")][key(r)] = r.toDouble(u"Qty");
    for (const Row& r :
         s.query(QStringLiteral("SELECT DISTINCT x.FormID FROM tblInventoryDispatch x JOIN "
                                "tblSaleInvoice i ON i.ID = x.FormID WHERE x.FormTypeID = ? AND "
                                "x.FormID >= ? AND i.Code IS NOT NULL ORDER BY x.FormID"),
                 {kSaleInvoiceForm, scope.firstLoadInvoice})) {
        const qint64 invoice = r.toInt64(u"FormID");
        ++inv.checked;
        const QHash<QString, double>& want = lines.value(invoice);
        const QHash<QString, double>& got = dispatched.value(invoice);
        QStringList differences;
        QSet<QString> goods(want.keyBegin(), want.keyEnd());
        goods.unite(QSet<QString>(got.keyBegin(), got.keyEnd()));
        for (const QString& g : goods)
            if (qAbs(want.value(g) - got.value(g)) > 1e-6)
                differences << QStringLiteral("%1 sold %2, dispatched %3")
                                   .arg(g)
                                   .arg(want.value(g))
                                   .arg(got.value(g));
        if (!differences.isEmpty())
            inv.violations << QStringLiteral("invoice %1: ").arg(invoice) +
                                  differences.join(QStringLiteral("; "));
    }
    result.invariants << inv;
}

namespace {

QString belowZero(const StockKey& key, double level, const char* when, double before) {
    return QStringLiteral("inventory %1, barcode %2: stock %3 %4 (before the load %5)")
        .arg(key.first)
        .arg(key.second)
        .arg(level)
        .arg(QString::fromLatin1(when))
        .arg(before);
}

}  // namespace

void CheckStock(Session& s, const CheckScope& scope, CheckResult& result) {
    Invariant inv{QStringLiteral("stock never sold below zero where the stock rule holds")};
    const StockLevels now = CheckedStockLevels(s, scope.day);
    const auto sold = [&](const StockKey& key, double level) {
        const double before = scope.stockBefore.value(key, 0);
        return level < -1e-9 && level < before - 1e-9;
    };
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        ++inv.checked;
        if (sold(it.key(), it.value()))
            inv.violations << belowZero(it.key(), it.value(), "at the end",
                                        scope.stockBefore.value(it.key(), 0));
    }
    for (auto it = scope.lowestSeen.cbegin(); it != scope.lowestSeen.cend(); ++it)
        if (sold(it.key(), it.value()) && !sold(it.key(), now.value(it.key(), 0)))
            inv.violations << belowZero(it.key(), it.value(), "while the load ran",
                                        scope.stockBefore.value(it.key(), 0));
    inv.violations.sort();
    qint64 negativeBefore = 0;
    for (double level : scope.stockBefore)
        if (level < -1e-9) ++negativeBefore;
    result.invariants << inv;
    result.figures << Figure{QStringLiteral("stock levels already below zero before the load"),
                             negativeBefore};
}

}  // namespace si::soak

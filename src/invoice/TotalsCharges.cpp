// Surcharges (frmCostTypel) and deductions (frmDesTypel) of the invoice: the lists the dialogs
// show, the rules of their cells, what OK applies to the totals, and loading and saving them.

#include <algorithm>

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/TotalsLogic.h"
#include "invoice/TotalsMath.h"

namespace si {

namespace {

const QString kNoRoleCaption = QStringLiteral("اشكال");
const QString kNegativeSurcharge = QStringLiteral("مبلغ اضافات نبايد منفي باشد.");
const QString kNegativeDeduction = QStringLiteral("مقدار كسورات نبايد منفي باشد.");
const QString kNegativeDeductionPercent = QStringLiteral("درصد كسورات نبايد منفي باشد.");

template <typename Row>
bool anyNegative(const QVector<Row>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const Row& r) { return r.Value < Money(); });
}

}  // namespace

bool TotalsLogic::hasRightOrSay(int right) {
    if (HasRight(services_.ctx, right)) return true;
    ShowMessage(services_.ctx, kNoRoleCaption,
                QStringLiteral("شما نقش مورد نظر را نداريد. ش.ر. ") + QString::number(right));
    return false;
}

// ---- surcharges --------------------------------------------------------------------------

bool TotalsLogic::CanEditSurcharges() {
    return hasRightOrSay(Right::Surcharges);
}

// Every surcharge type in ID order with the amount the invoice holds for it; a stored amount of
// a type no longer listed is kept at the end, so that saving again does not lose it.
QVector<SurchargeRow> TotalsLogic::mergedSurcharges(const QVector<SurchargeRow>& amounts) {
    QVector<SurchargeRow> rows;
    const RowSet types = services_.ctx.db().query(
        QStringLiteral("Select ID, Name from tblZelorSuchargeType Order By ID"));
    QHash<int, int> indexOfType;
    for (const Row& r : types) {
        indexOfType.insert(r.toInt(u"ID"), static_cast<int>(rows.size()));
        rows.append({r.toInt(u"ID"), r.text(u"Name"), Money()});
    }
    for (const SurchargeRow& a : amounts) {
        const auto at = indexOfType.constFind(a.SuchargeTypeID);
        if (at != indexOfType.constEnd()) {
            rows[*at].Value += a.Value;
        } else {
            indexOfType.insert(a.SuchargeTypeID, static_cast<int>(rows.size()));
            rows.append(a);
        }
    }
    return rows;
}

QVector<SurchargeRow> TotalsLogic::SurchargeRowsForDialog() {
    return mergedSurcharges(services_.doc.surcharges);
}

// A negative surcharge would take from the invoice what only a deduction or a discount may.
bool TotalsLogic::SurchargeValueTyped(SurchargeRow& row, Money value) {
    if (value < Money()) {
        ShowMessage(services_.ctx, kErrorCaption, kNegativeSurcharge);
        return false;
    }
    row.Value = value;
    return true;
}

bool TotalsLogic::ApplySurcharges(const QVector<SurchargeRow>& rows) {
    if (anyNegative(rows)) {
        ShowMessage(services_.ctx, kErrorCaption, kNegativeSurcharge);
        return false;
    }
    Money sum;
    for (const SurchargeRow& r : rows)
        sum += r.Value;
    services_.doc.surcharges = rows;
    services_.doc.totals.SuCharge = sum;
    ComputeGrandTotalQuickly();
    return true;
}

void TotalsLogic::LoadSurcharges(int invoiceId) {
    QVector<SurchargeRow> stored;
    const RowSet rows = services_.ctx.db().query(
        QStringLiteral("Select * from tblSaleInvoiceSucharge Where InvoiceID=? order by ID"),
        {invoiceId});
    for (const Row& r : rows)
        stored.append({r.toInt(u"SuchargeTypeID"), QString(), r.money(u"Value")});
    services_.doc.surcharges = mergedSurcharges(stored);
}

void TotalsLogic::SaveSurcharges(int invoiceId) {
    Session& db = services_.ctx.db();
    Transaction tx = db.joinTransaction();
    db.exec(QStringLiteral("DELETE FROM tblSaleInvoiceSucharge Where InvoiceID=?"), {invoiceId});
    for (const SurchargeRow& r : services_.doc.surcharges) {
        if (r.Value.isZero()) continue;
        db.exec(
            QStringLiteral("Insert Into tblSaleInvoiceSucharge (InvoiceID,SuchargeTypeID,Value) "
                           "Values (?,?,?)"),
            {invoiceId, r.SuchargeTypeID, QVariant::fromValue(r.Value)});
    }
    tx.commit();
}

// ---- deductions --------------------------------------------------------------------------

bool TotalsLogic::CanEditDeductions() {
    return hasRightOrSay(Right::Deductions);
}

QVector<DeductionRow> TotalsLogic::mergedDeductions(const QVector<DeductionRow>& amounts) {
    QVector<DeductionRow> rows;
    const RowSet types = services_.ctx.db().query(
        QStringLiteral("Select ID,Name from tblZelorShortageType Order By ID"));
    QHash<int, int> indexOfType;
    for (const Row& r : types) {
        indexOfType.insert(r.toInt(u"ID"), static_cast<int>(rows.size()));
        rows.append({r.toInt(u"ID"), r.text(u"Name"), Money(), 0});
    }
    for (const DeductionRow& a : amounts) {
        const auto at = indexOfType.constFind(a.ShortageTypeID);
        if (at != indexOfType.constEnd()) {
            rows[*at].Value += a.Value;
            rows[*at].ShortagePercent += a.ShortagePercent;
        } else {
            indexOfType.insert(a.ShortageTypeID, static_cast<int>(rows.size()));
            rows.append(a);
        }
    }
    return rows;
}

QVector<DeductionRow> TotalsLogic::DeductionRowsForDialog() {
    return mergedDeductions(services_.doc.deductions);
}

// Deductions beyond this would make the grand total negative.
Money TotalsLogic::PayableBeforeDeductions() const {
    const InvoiceTotals& t = services_.doc.totals;
    return t.TotalPrice + t.SuCharge - t.MasterDiscountValue + t.Tax + t.Added;
}

bool TotalsLogic::DeductionPercentTyped(DeductionRow& row, double percent) {
    if (percent < 0) {
        ShowMessage(services_.ctx, kErrorCaption, kNegativeDeductionPercent);
        return false;
    }
    if (percent > 100) {
        ShowMessage(services_.ctx, kErrorCaption,
                    QStringLiteral("مقدار وارد شده از صد بيشتر است."));
        return false;
    }
    row.ShortagePercent = percent;
    row.Value = totals::RoundHalfUpPercentOf(DeductionBase(), percent);
    return true;
}

bool TotalsLogic::DeductionValueTyped(DeductionRow& row, Money value) {
    if (value < Money()) {
        ShowMessage(services_.ctx, kErrorCaption, kNegativeDeduction);
        return false;
    }
    const Money base = DeductionBase();
    double percent = 0;
    if (base > Money()) {
        percent = RoundHalfUpPercent(value.toDouble() / base.toDouble() * 100, 0);
        if (percent > 100) {
            ShowMessage(services_.ctx, kErrorCaption,
                        QStringLiteral("امكان تبديل به درصد وجود ندارد. مقدار كوچكتري وارد كنيد."));
            return false;
        }
    }
    row.Value = value;
    row.ShortagePercent = percent;
    return true;
}

bool TotalsLogic::ApplyDeductions(const QVector<DeductionRow>& rows) {
    if (anyNegative(rows)) {
        ShowMessage(services_.ctx, kErrorCaption, kNegativeDeduction);
        return false;
    }
    Money sum;
    for (const DeductionRow& r : rows)
        sum += r.Value;
    if (sum > PayableBeforeDeductions()) {
        ShowMessage(services_.ctx, kErrorCaption,
                    QStringLiteral("مقدار كسورات از مبلغ قابل پرداخت بيشتر است."));
        return false;
    }
    services_.doc.deductions = rows;
    services_.doc.totals.Decs = sum;
    ComputeGrandTotalQuickly();
    return true;
}

void TotalsLogic::LoadDeductions(int invoiceId) {
    QVector<DeductionRow> stored;
    const RowSet rows = services_.ctx.db().query(
        QStringLiteral("Select * from tblSaleInvoiceShortage Where InvoiceID=? order by ID"),
        {invoiceId});
    for (const Row& r : rows)
        stored.append({r.toInt(u"ShortageTypeID"), QString(), r.money(u"Value"),
                       r.toDouble(u"ShortagePercent")});
    services_.doc.deductions = mergedDeductions(stored);
}

void TotalsLogic::SaveDeductions(int invoiceId) {
    Session& db = services_.ctx.db();
    Transaction tx = db.joinTransaction();
    db.exec(QStringLiteral("DELETE FROM tblSaleInvoiceShortage Where InvoiceID=?"), {invoiceId});
    for (const DeductionRow& r : services_.doc.deductions) {
        if (r.Value.isZero()) continue;
        db.exec(QStringLiteral("Insert Into tblSaleInvoiceShortage "
                               "(InvoiceID,ShortageTypeID,Value,ShortagePercent) Values (?,?,?,?)"),
                {invoiceId, r.ShortageTypeID, QVariant::fromValue(r.Value), r.ShortagePercent});
    }
    tx.commit();
}

}  // namespace si

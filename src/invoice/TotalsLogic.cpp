#include "invoice/TotalsLogic.h"

#include <QSet>

#include <cstdlib>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/LineLookups.h"
#include "invoice/TotalsMath.h"

namespace si {

using totals::FixPercentOf;
using totals::FixPercentOfPlus;
using totals::RoundHalfUpPercentOf;
using totals::RoundHalfUpRials;

namespace {

const QString kWageTooHigh = QStringLiteral("اجرت ساخت نبايد بيشتر از قيمت طلا شود");
const QString kProblemCaption = QStringLiteral("اشکال");
const QString kMasterNegative = QStringLiteral("تخفيف كلي نبايد منفي باشد.");
const QString kMasterPercentAbove = QStringLiteral("درصد تخفيف كلي نبايد بيش از «");
const QString kMasterPercentCeiling =
    QStringLiteral("درصد تخفيف كلي بيش از سقف مجاز تعريف شده براي شما «");
const QString kMasterValueCeiling =
    QStringLiteral("مبلغ تخفيف كلي بيش از سقف مجاز تعريف شده براي شما «");
const QString kMasterValueAboveTotal = QStringLiteral("مبلغ تخفيف كلي نبايد بيش از جمع فاكتور «");
const QString kCeilingEnd = QStringLiteral("» است");
const QString kLimitEnd = QStringLiteral("» باشد.");

bool entryMode(int mode) {
    return mode == kModeEdit || mode == kModeNew;
}

// The master discount amount of a percent: whole thousands of Rials. The thousands step rounds
// the whole Rials to the nearest thousand with ties upward, as the stated example has it (10 % of
// 1 234 567 is 123 457, which gives 123 000); the suite's RoundHalfUp on 123.457 would go through
// 123.5 to 124 and take a discount no clerk expects.
Money masterDiscountValueOf(Money total, double percent) {
    const std::int64_t rials = RoundHalfUpPercentOf(total, percent).wholeRials();
    const std::int64_t thousands = rials >= 0 ? (rials + 500) / 1000 : -((499 - rials) / 1000);
    return Money::fromRials(thousands * 1000);
}

double masterDiscountPercentOf(Money value, Money total) {
    return RoundHalfUpPercent(value.toDouble() / total.toDouble() * 100, 2);
}

}  // namespace

TotalsLogic::TotalsLogic(InvoiceServices& services) : services_(services) {}

QDate TotalsLogic::invoiceDate() {
    const QDate date = services_.doc.datCreateDate;
    if (date.isValid()) return date;
    if (!today_.isValid()) today_ = services_.ctx.db().today();
    return today_;
}

Money TotalsLogic::CalculateBenefit() const {
    Money sum;
    const LineTableModel& grid = services_.doc.flexDetail;
    for (int row : grid.filledRows())
        sum += grid.line(row).ApproxProfit;
    return sum;
}

// ---- one line ----------------------------------------------------------------------------

void TotalsLogic::RecomputeRowSum(int row, LineTableModel& grid) {
    if (row < 0 || row >= grid.rows()) return;
    InvoiceLine& l = grid.line(row);
    const Money gross = l.UnitPrice.times(l.Qty).fix();
    Money net = gross;
    if (l.DiscountKind == kDiscountAsValue)
        net = (gross - l.DiscountValue).fix();
    else if (l.DiscountPercent > 0)
        net = FixPercentOf(gross, 100 - l.DiscountPercent);
    if (net < Money()) net = Money();

    Money wage = FixPercentOfPlus(gross, l.WagePercent, l.WagePerWeight.times(l.Qty));
    if (wage > gross) {
        ShowMessage(services_.ctx, kProblemCaption, kWageTooHigh);
        wage = Money();
    }
    if (wage < Money()) wage = Money();
    l.TotalWage = wage;
    const Money profit = FixPercentOf(net + wage, l.ProfitPercent);
    l.TotalProfit = profit;
    l.NetAmount = net + wage + profit + l.Commission.fix();
    applyTaxes(l, wage, profit);
    l.TaxAndDuty = RoundHalfUpRials(l.Duty + l.Tax);
    l.LineTotal = RoundHalfUpRials(l.TaxAndDuty + l.NetAmount);
    // What the shop keeps of the line, as a clerk reckons it: the net amount less the goods at
    // their buy price. Tax and duty are not the shop's.
    l.ApproxProfit = l.isFilled() ? (l.NetAmount - l.BuyPrice.times(l.BaseQty)).fix() : Money();
    grid.lineChanged(row);
}

void TotalsLogic::RecomputeAllLines() {
    LineTableModel& grid = services_.doc.flexDetail;
    const QVector<int> rows = grid.filledRows();
    QStringList barcodes;
    for (int row : rows)
        barcodes << grid.line(row).BarCode;
    prefetchTaxFlags(barcodes);
    for (int row : rows)
        RecomputeRowSum(row, grid);
    ComputeGrandTotal();
}

// Precious metals are taxed on what the shop adds (wage, profit, commission), not on the metal.
void TotalsLogic::applyTaxes(InvoiceLine& l, Money wage, Money profit) {
    l.Tax = Money();
    l.Duty = Money();
    if (!services_.doc.chkIsFormal || !l.isFilled()) return;
    ReadTaxPercents();
    const GoodTaxFlags flags = taxFlagsOf(l.BarCode);
    const Money base =
        services_.doc.IsGoldSilverPlatinum ? wage + profit + l.Commission.fix() : l.NetAmount;
    if (flags.hasAdded)
        l.Duty = FixPercentOf(base, flags.ownAddedPercent.value_or(services_.doc.AddedPercent));
    if (flags.hasTax)
        l.Tax = FixPercentOf(base, flags.ownTaxPercent.value_or(services_.doc.TaxPercent));
}

void TotalsLogic::ReadTaxPercents() {
    InvoiceDocument& doc = services_.doc;
    if (!doc.chkIsFormal) {
        doc.TaxPercent = 0;
        doc.AddedPercent = 0;
        return;
    }
    const QDate date = invoiceDate();
    auto cached = ratesByDate_.constFind(date);
    if (cached == ratesByDate_.constEnd()) {
        TaxRates rates;
        const auto row = services_.ctx.db().first(
            QStringLiteral("Select coalesce(TaxPercent,0) as taxPercent, coalesce(AddedPercent,0) "
                           "as AddedPercent from tblSaleTaxCostsConfiguration Where BeginDate<=? "
                           "and EndDate>=? order by BeginDate desc, ID desc limit 1"),
            {date, date});
        if (row) rates = {row->toDouble(u"taxPercent"), row->toDouble(u"AddedPercent")};
        cached = ratesByDate_.insert(date, rates);
    }
    doc.TaxPercent = cached->tax;
    doc.AddedPercent = cached->added;
}

GoodTaxFlags TotalsLogic::taxFlagsOf(const QString& barcode) {
    const QDate date = invoiceDate();
    const QString key = barcode + QLatin1Char('|') + date.toString(Qt::ISODate);
    auto cached = flagsByBarcodeAndDate_.constFind(key);
    if (cached != flagsByBarcodeAndDate_.constEnd()) return *cached;
    // Goods entered in a batch are asked for together.
    if (const QStringList together = services_.lookups->askedTogether(barcode);
        !together.isEmpty()) {
        prefetchTaxFlags(together);
        cached = flagsByBarcodeAndDate_.constFind(key);
        if (cached != flagsByBarcodeAndDate_.constEnd()) return *cached;
    }
    GoodTaxFlags flags;
    Session& db = services_.ctx.db();
    const auto own = db.first(
        QStringLiteral("select HasTax, HasAdded, coalesce(TaxPercent,0) as TaxPercent, "
                       "coalesce(AddedPercent,0) as AddedPercent from tblGoodTaxAddedInfo where "
                       "Barcode = ? and BeginDate<=? and EndDate>=? order by BeginDate desc, ID "
                       "desc limit 1"),
        {barcode, date, date});
    if (own) {
        flags.hasAdded = own->toInt(u"HasAdded") == 1;
        flags.hasTax = own->toInt(u"HasTax") == 1;
        if (flags.hasAdded) flags.ownAddedPercent = own->toDouble(u"AddedPercent");
        if (flags.hasTax) flags.ownTaxPercent = own->toDouble(u"TaxPercent");
    } else if (const auto general =
                   db.first(QStringLiteral("select HasAdded, HasTax from vwGoodInfo where "
                                           "Barcode = ?"),
                            {barcode})) {
        flags.hasAdded = general->text(u"HasAdded").trimmed() == QLatin1String("1");
        flags.hasTax = general->text(u"HasTax").trimmed() == QLatin1String("1");
    }
    flagsByBarcodeAndDate_.insert(key, flags);
    return flags;
}

void TotalsLogic::prefetchTaxFlags(const QStringList& barcodes) {
    if (!services_.doc.chkIsFormal) return;
    constexpr qsizetype kSlice = 400;
    const QDate date = invoiceDate();
    const QString day = QLatin1Char('|') + date.toString(Qt::ISODate);
    Session& db = services_.ctx.db();
    QStringList missing;
    for (const QString& b : barcodes)
        if (!flagsByBarcodeAndDate_.contains(b + day) && !missing.contains(b)) missing << b;
    for (qsizetype i = 0; i < missing.size(); i += kSlice) {
        const QStringList slice = missing.mid(i, kSlice);
        const QString marks = QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(','));
        Params params;
        for (const QString& b : slice)
            params << b;
        QHash<QString, GoodTaxFlags> found;
        for (const Row& g :
             db.query(QStringLiteral(
                          "select Barcode, HasAdded, HasTax from vwGoodInfo where Barcode in (") +
                          marks + QStringLiteral(")"),
                      params))
            found[g.text(u"Barcode")] = {g.text(u"HasTax").trimmed() == QLatin1String("1"),
                                         g.text(u"HasAdded").trimmed() == QLatin1String("1"),
                                         std::nullopt, std::nullopt};
        // An item's own dated row wins over its general flags; the latest beginning first.
        const RowSet own = db.query(
            QStringLiteral(
                "select Barcode, HasTax, HasAdded, coalesce(TaxPercent,0) as TaxPercent, "
                "coalesce(AddedPercent,0) as AddedPercent from tblGoodTaxAddedInfo where Barcode "
                "in (") +
                marks +
                QStringLiteral(
                    ") and BeginDate<=? and EndDate>=? order by Barcode, BeginDate desc, ID desc"),
            params + Params{date, date});
        QSet<QString> taken;
        for (const Row& r : own) {
            const QString barcode = r.text(u"Barcode");
            if (taken.contains(barcode)) continue;
            taken.insert(barcode);
            GoodTaxFlags flags;
            flags.hasAdded = r.toInt(u"HasAdded") == 1;
            flags.hasTax = r.toInt(u"HasTax") == 1;
            if (flags.hasAdded) flags.ownAddedPercent = r.toDouble(u"AddedPercent");
            if (flags.hasTax) flags.ownTaxPercent = r.toDouble(u"TaxPercent");
            found[barcode] = flags;
        }
        for (const QString& b : slice)
            flagsByBarcodeAndDate_.insert(b + day, found.value(b));
    }
}

void TotalsLogic::invalidateTaxCache() {
    today_ = QDate();
    ratesByDate_.clear();
    flagsByBarcodeAndDate_.clear();
}

// ---- the line-discount synchroniser ------------------------------------------------------

void TotalsLogic::SyncLineDiscount(int row, int enteredAs, LineTableModel& grid) {
    if (row < 0 || row >= grid.rows()) return;
    InvoiceLine& l = grid.line(row);
    const Money gross = l.UnitPrice.times(l.Qty).fix();
    l.DiscountKind = enteredAs;
    if (enteredAs == kDiscountAsValue) {
        if (l.UnitPrice.isZero()) {
            l.DiscountPercent = 0;
        } else {
            double percent = l.DiscountValue.toDouble() * 100 / l.UnitPrice.toDouble();
            if (l.Qty > 0) percent /= l.Qty;
            l.DiscountPercent = RoundHalfUpPercent(percent, 2);
        }
    }
    if (l.DiscountPercent > 100) {
        l.DiscountPercent = 100;
        Q_EMIT services_.doc.flash(QStringLiteral("درصد تخفيف سطر ”") + QString::number(row + 1) +
                                   QStringLiteral("“ نميتواند از 100 بيشتر باشد!"));
        l.DiscountValue = FixPercentOf(gross, l.DiscountPercent);
    } else if (enteredAs == kDiscountAsPercent) {
        l.DiscountValue = FixPercentOf(gross, l.DiscountPercent);
    }
    grid.lineChanged(row);
}

// ---- the invoice totals ------------------------------------------------------------------

Money TotalsLogic::ComputeTotalDiscount() const {
    Money sum;
    for (const InvoiceLine& l : services_.doc.flexDetail.allRows())
        sum += RoundHalfUpRials(l.DiscountValue);
    return sum;
}

void TotalsLogic::ComputeTotalTaxAdded() {
    Money tax;
    Money added;
    for (const InvoiceLine& l : services_.doc.flexDetail.allRows()) {
        tax += RoundHalfUpRials(l.Tax);
        added += RoundHalfUpRials(l.Duty);
    }
    services_.doc.totals.Tax = tax;
    services_.doc.totals.Added = added;
}

Money TotalsLogic::ComputeGrandTotal() {
    InvoiceTotals& t = services_.doc.totals;
    Money net;
    for (const InvoiceLine& l : services_.doc.flexDetail.allRows())
        net += l.NetAmount;
    t.TotalPrice = RoundHalfUpRials(net);
    t.TotalRowDiscount = ComputeTotalDiscount();
    t.TotalPurePrice = RoundHalfUpRials(t.TotalPrice + t.TotalRowDiscount);
    ComputeTotalTaxAdded();
    applyMasterDiscount();
    t.TotalDiscountValue = t.TotalRowDiscount + t.MasterDiscountValue;
    t.shown = true;
    t.GrandTotal = grandTotalFromBoxes();
    Q_EMIT services_.doc.totalsChanged();
    return t.GrandTotal;
}

// An automatic discount by invoice value takes the percent option and locks both boxes; without
// one, right 90110 decides what the clerk may change (the form's availability).
void TotalsLogic::applyMasterDiscount() {
    InvoiceDocument& doc = services_.doc;
    InvoiceTotals& t = doc.totals;
    if (t.TotalPrice.isZero()) {
        t.MasterDiscountPercent = 0;
        t.MasterDiscountValue = Money();
        doc.masterDiscountLocked = false;
        return;
    }
    if (entryMode(doc.FormMode)) {
        const double automatic = services_.InvoiceValueDiscountPercent(t.TotalPrice);
        doc.masterDiscountLocked = automatic >= 0;
        if (automatic >= 0) {
            doc.masterDiscountKind = MasterDiscountKind::Percent;
            t.MasterDiscountPercent = automatic;
        }
    }
    if (doc.masterDiscountKind == MasterDiscountKind::Value)
        t.MasterDiscountPercent = masterDiscountPercentOf(t.MasterDiscountValue, t.TotalPrice);
    else
        t.MasterDiscountValue = masterDiscountValueOf(t.TotalPrice, t.MasterDiscountPercent);
}

Money TotalsLogic::grandTotalFromBoxes() {
    const InvoiceTotals& t = services_.doc.totals;
    const Money amount = RoundHalfUpRials(t.TotalPrice + t.SuCharge - t.MasterDiscountValue -
                                          t.Decs + t.Tax + t.Added);
    return RoundGrandTotal(amount);
}

Money TotalsLogic::ComputeGrandTotalQuickly() {
    InvoiceTotals& t = services_.doc.totals;
    t.GrandTotal = grandTotalFromBoxes();
    Q_EMIT services_.doc.totalsChanged();
    return t.GrandTotal;
}

// Steps beyond 10^14 Rials would not fit in Money; no real setting comes near.
Money TotalsLogic::RoundGrandTotal(Money amount) {
    InvoiceTotals& t = services_.doc.totals;
    t.RoundDown = Money();
    const int step = std::min(std::abs(services_.ctx.params.roundingStep()), 14);
    if (amount <= Money() || step == 0) return amount;
    std::int64_t unit = Money::kScale;
    for (int k = 0; k < step; ++k)
        unit *= 10;
    const std::int64_t quotient = amount.raw() / unit;
    const std::int64_t remainder = amount.raw() % unit;
    std::int64_t units = quotient;
    switch (services_.ctx.params.roundingDirection()) {
        case 1:
            units = remainder == 0 ? quotient : quotient + 1;
            break;
        case 0:
            if (2 * remainder > unit || (2 * remainder == unit && quotient % 2 != 0))
                units = quotient + 1;
            break;
        default:
            break;
    }
    const Money rounded = Money::fromRaw(units * unit);
    t.RoundDown = amount - rounded;
    return rounded;
}

// ---- the master discount boxes -----------------------------------------------------------

void TotalsLogic::MasterDiscountPercentTyped(double percent) {
    InvoiceTotals& t = services_.doc.totals;
    if (!t.shown) {
        // Nothing computed yet: the dependent boxes stay empty.
        t.MasterDiscountPercent = 0;
        t.MasterDiscountValue = Money();
        t.TotalDiscountValue = Money();
        t.GrandTotal = Money();
        t.SuCharge = Money();
        Q_EMIT services_.doc.totalsChanged();
        return;
    }
    percent = std::abs(percent);
    if (MasterDiscountPercentRefusal(percent)) {
        t.MasterDiscountPercent = 0;
        t.MasterDiscountValue = Money();
    } else {
        t.MasterDiscountPercent = percent;
        t.MasterDiscountValue = masterDiscountValueOf(t.TotalPrice, percent);
    }
    t.TotalDiscountValue = t.TotalRowDiscount + t.MasterDiscountValue;
    ComputeGrandTotalQuickly();
}

void TotalsLogic::MasterDiscountValueTyped(Money value) {
    InvoiceTotals& t = services_.doc.totals;
    value = value.abs();
    if (MasterDiscountValueRefusal(value)) {
        t.MasterDiscountPercent = 0;
        t.MasterDiscountValue = Money();
    } else {
        t.MasterDiscountValue = value;
        t.MasterDiscountPercent =
            t.TotalPrice.isZero() ? 0 : masterDiscountPercentOf(value, t.TotalPrice);
    }
    t.TotalDiscountValue = t.TotalRowDiscount + t.MasterDiscountValue;
    ComputeGrandTotalQuickly();
}

std::optional<QString> TotalsLogic::MasterDiscountPercentRefusal(double percent) const {
    if (percent < 0) return kMasterNegative;
    if (percent > 100) return kMasterPercentAbove + QStringLiteral("100") + kLimitEnd;
    const int limit = services_.ctx.params.number(P::MaxMasterDiscountPercent);
    if (limit >= 0 && percent > limit)
        return kMasterPercentCeiling + QString::number(limit) + kCeilingEnd;
    return std::nullopt;
}

std::optional<QString> TotalsLogic::MasterDiscountValueRefusal(Money value) const {
    if (value < Money()) return kMasterNegative;
    const Money total = services_.doc.totals.TotalPrice;
    if (value > total) return kMasterValueAboveTotal + FormatAmount(total) + kLimitEnd;
    const Money limit = services_.ctx.params.amount(P::MaxMasterDiscountValue);
    if (limit >= Money() && value > limit)
        return kMasterValueCeiling + FormatAmount(limit) + kCeilingEnd;
    return std::nullopt;
}

void TotalsLogic::SetMasterDiscountKind(MasterDiscountKind kind) {
    services_.doc.masterDiscountKind = kind;
    Q_EMIT services_.doc.totalsChanged();
}

}  // namespace si

// Loading a stored invoice's lines, and the stock column after the inventory changed.

#include <cmath>

#include "common/Numbers.h"
#include "common/Stock.h"
#include "invoice/InvoiceStore.h"
#include "invoice/LinesLogic.h"
#include "invoice/TotalsLogic.h"

namespace si {

namespace {

const QString kStoredLines = QStringLiteral(
    "Select sd.*, g.Code, g.Name, g.BuyPrice, sc.Name as ScaleName, coalesce(sc.ID,-1) as "
    "SaleScaleID, "
    "coalesce(sc.ScaleToBaseParent,1) as Cof, "
    "(Select x.Name from tblGood x Where x.Barcode=sd.ServicedBarCode) as ServicedGoodName, "
    "(Select x.Name from tblSalePricingMethod x Where x.ID=sd.PricingMethodID) as "
    "PricingMethodName, (Select x.Name from vwSalePromoterMajor x Where "
    "x.ID=coalesce(sd.PromoterID, s.PromoterID)) as PromoterName, s.PromoterID as "
    "MainPromoterID, g.GoodGroupID from tblSaleInvoiceDetail sd inner join tblSaleInvoice s on "
    "sd.InvoiceID=s.ID INNER JOIN tblGood g On sd.Barcode = g.Barcode Left Outer Join "
    "tblGoodScale sc On sd.ScaleID = sc.ID where sd.InvoiceID=? Order By sd.RowNumber, sd.ID");

double factorOf(const Row& r) {
    const double cof = r.toDouble(u"Cof", 1);
    return cof > 0 ? cof : 1;
}

QStringList barcodesOf(const QVector<InvoiceLine>& lines) {
    QStringList list;
    for (const InvoiceLine& l : lines)
        if (l.isFilled() && !list.contains(l.BarCode)) list << l.BarCode;
    return list;
}

}  // namespace

InvoiceLine LinesLogic::storedLine(const Row& r) const {
    InvoiceLine l;
    l.BarCode = r.text(u"Barcode");
    l.GoodCode = r.text(u"Code");
    l.GoodName = r.text(u"Name");
    l.Description = r.text(u"Description");
    l.ServicedBarCode = r.text(u"ServicedBarCode");
    l.ServicedGoodName = r.text(u"ServicedGoodName");
    l.DiscountKind =
        r.toInt(u"DiscountTypeID", 1) == kDiscountAsValue ? kDiscountAsValue : kDiscountAsPercent;
    const double cof = factorOf(r);
    l.Qty = r.toDouble(u"Qty");
    l.StoredQty = l.Qty;
    l.BaseQty = l.Qty * cof;
    l.UnitName = r.text(u"ScaleName");
    l.ScaleID = r.toInt(u"SaleScaleID", -1);
    if (!r.isNull(u"InitialQty"))
        l.InitialQty = QString::number(r.toDouble(u"InitialQty"), 'g', 15);
    l.InitialScaleID = r.toInt(u"InitialScaleID", -1);
    l.ChangeReason = r.text(u"ChangeReasonSequence");
    l.UnitPrice = r.money(u"RetailPrice");
    l.BaseUnitPrice = Money::fromDouble(l.UnitPrice.toDouble() / cof);
    l.DiscountPercent = r.toDouble(u"DiscountPercent");
    l.DiscountValue = r.money(u"DiscountValue");
    l.WagePercent = r.toDouble(u"ConstructionFeePercent");
    l.WagePerWeight = r.money(u"ConstructionFeeValue");
    l.ProfitPercent = r.toDouble(u"ProfitPercent");
    l.Commission = r.money(u"WorkFee");
    l.PricingMethodID = r.toInt(u"PricingMethodID", -1);
    l.PricingMethodName = r.text(u"PricingMethodName");
    l.PromoterID =
        r.isNull(u"PromoterID") ? r.toInt(u"MainPromoterID", -1) : r.toInt(u"PromoterID");
    l.PromoterName = r.text(u"PromoterName");
    l.GoodGroupID = r.toInt(u"GoodGroupID", -1);
    l.BuyPrice = r.money(u"BuyPrice");
    l.IsEchantillon = r.toBool(u"IsEchantillon");
    return l;
}

// Cuts a line to what is left of its goods; a whole-number unit is cut to whole units.
void LinesLogic::cutToStock(InvoiceLine& line, double& available, bool integerUnit) const {
    const double factor = line.Qty != 0 ? line.BaseQty / line.Qty : 1;
    double qty = std::max(0.0, available) / factor;
    if (integerUnit) qty = std::floor(qty);
    line.Qty = qty;
    line.BaseQty = qty * factor;
    available -= line.BaseQty;
}

void LinesLogic::fillQuantitiesElsewhere(QVector<InvoiceLine>& lines, int inventory,
                                         const QDate& asOf, int invoiceId) {
    const QStringList barcodes = barcodesOf(lines);
    const auto stocks = InventoryStocks(ctx(), inventory, barcodes, asOf, invoiceId);
    const auto temps = ctx().params.flag(P::ShowTempQty)
                           ? TempInvoiceQuantities(db(), barcodes, inventory, invoiceId)
                           : QHash<QString, double>();
    const auto reserved = ReservedQuantities(db(), barcodes, inventory, invoiceId);
    for (InvoiceLine& l : lines) {
        l.Stock = stocks.value(l.BarCode);
        l.TempQty = temps.value(l.BarCode);
        l.ReservedQty = reserved.value(l.BarCode);
    }
}

// A temporary invoice (no Code yet) that was not made from a dispatch is held to today's stock;
// a final invoice, or one whose goods already left with its dispatch, keeps what was stored.
// Without an inventory there is no stock to hold it to.
bool LinesLogic::FillInvoiceDetailData(int invoiceId) {
    return FillInvoiceDetailData(invoiceId, InvoiceStore(db()).readHeaderRow(invoiceId));
}

bool LinesLogic::FillInvoiceDetailData(int invoiceId, const std::optional<Row>& header) {
    methodNames_.clear();
    promoterNames_.clear();
    const int inventory = header ? header->toInt(u"InventoryID", -1) : -1;
    const QDate asOf = header && header->date(u"CreateDate").isValid() ? header->date(u"CreateDate")
                                                                       : invoiceDate();
    const bool holdToStock = header && header->isNull(u"Code") &&
                             !header->toBool(u"IsFromDispatch") && inventory > 0 && stockChecked();

    QVector<InvoiceLine> lines;
    QVector<InvoiceLine> freeGoods;
    for (const Row& r : db().query(kStoredLines, {invoiceId}))
        (r.toBool(u"IsEchantillon") ? freeGoods : lines).push_back(storedLine(r));
    fillQuantitiesElsewhere(lines, inventory, asOf, invoiceId);
    fillQuantitiesElsewhere(freeGoods, inventory, asOf, invoiceId);

    const bool cut = holdToStock && holdLinesToStock(lines);
    showLines(lines, doc().flexDetail);
    showLines(freeGoods, doc().flexEch);
    for (int row = 0; row < lines.size(); ++row)
        services_.FillDetailDiscount(row);
    currentRow_ = 0;
    return cut;
}

// What the earlier rows of the same goods took is no longer available to the later ones, so the
// loaded invoice as a whole stays within the stock.
bool LinesLogic::holdLinesToStock(QVector<InvoiceLine>& lines) {
    bool cut = false;
    QHash<QString, double> available;
    QHash<int, bool> integerUnits;
    for (InvoiceLine& l : lines) {
        auto left = available.find(l.BarCode);
        if (left == available.end()) left = available.insert(l.BarCode, l.Stock);
        if (l.BaseQty <= left.value()) {
            left.value() -= l.BaseQty;
            continue;
        }
        if (!integerUnits.contains(l.ScaleID))
            integerUnits.insert(l.ScaleID, IsIntegerUnit(db(), l.ScaleID));
        cutToStock(l, left.value(), integerUnits.value(l.ScaleID));
        cut = true;
    }
    return cut;
}

// Amounts are computed on a grid no view watches; the form's grid then changes once.
void LinesLogic::showLines(const QVector<InvoiceLine>& lines, LineTableModel& target) {
    LineTableModel scratch;
    scratch.setLines(lines);
    services_.totals->prefetchTaxFlags(barcodesOf(lines));
    for (int row = 0; row < lines.size(); ++row)
        services_.totals->RecomputeRowSum(row, scratch);
    target.setLines(scratch.allRows().mid(0, lines.size()));
}

void LinesLogic::RecomputeStockColumn() {
    const auto stocks = InventoryStocks(ctx(), inventoryId(), barcodesOf(grid().allRows()),
                                        invoiceDate(), doc().invoiceID());
    for (int row = 0; row < grid().rows(); ++row)
        if (grid().line(row).isFilled())
            grid().line(row).Stock = stocks.value(grid().line(row).BarCode);
    if (grid().rows() > 0)
        Q_EMIT grid().dataChanged(grid().index(0, Col::Stock),
                                  grid().index(grid().rows() - 1, Col::Stock));
}

}  // namespace si

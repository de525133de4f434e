// Free goods of the promotion pass: each granted goods becomes a row of flexEch, held to the stock
// the inventory still has for it when the stock rule applies.

#include <cmath>

#include "common/Messages.h"
#include "common/Stock.h"
#include "invoice/DiscountPass.h"
#include "invoice/DiscountTexts.h"
#include "invoice/GoodsLookups.h"
#include "invoice/LinesLogic.h"
#include "invoice/LinesSupport.h"
#include "invoice/TotalsLogic.h"

namespace si {

using namespace discounts;

namespace {

constexpr qsizetype kSlice = 400;
constexpr double kQtyEpsilon = 1e-9;

struct FreeGood {
    QString barcode;
    QString code;
    QString name;
    Money retailPrice;
    int saleScaleID = -1;
    int group = -1;
};

QHash<QString, FreeGood> freeGoodsOf(Session& s, const QStringList& barcodes) {
    QHash<QString, FreeGood> goods;
    for (qsizetype i = 0; i < barcodes.size(); i += kSlice) {
        const QStringList slice = barcodes.mid(i, kSlice);
        Params params;
        for (const QString& b : slice)
            params << b;
        const RowSet rows = s.query(
            QStringLiteral("select Barcode, Code, Name, RetailPrice, SaleScaleID, GoodGroupID "
                           "from tblGood where Barcode in (") +
                QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                QStringLiteral(") order by ID"),
            params);
        for (const Row& r : rows) {
            const QString key = PromotionGoodsKey(r.text(u"Barcode"));
            if (goods.contains(key)) continue;
            goods.insert(
                key, {r.text(u"Barcode"), r.text(u"Code"), r.text(u"Name"), r.money(u"RetailPrice"),
                      r.toInt(u"SaleScaleID", -1), r.toInt(u"GoodGroupID", -1)});
        }
    }
    return goods;
}

// Base quantity of each barcode already on the invoice, both grids.
QHash<QString, double> quantitiesOnInvoice(const InvoiceDocument& doc, const UnitFacts& units) {
    QHash<QString, double> held;
    for (const LineTableModel* grid : {&doc.flexDetail, &doc.flexEch})
        for (const InvoiceLine& l : grid->allRows())
            if (l.isFilled()) held[PromotionGoodsKey(l.BarCode)] += l.Qty * units.factor(l.ScaleID);
    return held;
}

}  // namespace

UnitFacts UnitFacts::read(Session& s) {
    UnitFacts units;
    for (const Row& r : s.query(QStringLiteral(
             "select ID, Name, ScaleToBaseParent, IsInteger from tblGoodScale order by ID")))
        units.byId.insert(r.toInt(u"ID"), {r.text(u"Name"), r.toDouble(u"ScaleToBaseParent", 1),
                                           r.toInt(u"IsInteger") == 1});
    return units;
}

double UnitFacts::factor(int scaleId) const {
    const auto unit = byId.constFind(scaleId);
    return unit == byId.constEnd() || unit->factor <= 0 ? 1 : unit->factor;
}

// The granted unit is the promotion's DiscountScaleID; a promotion without one grants the goods'
// sale unit. A unit that does not exist grants nothing.
void DiscountLogic::addFreeGoods(PromotionPass& pass) {
    if (pass.freeGrants.empty()) return;
    QStringList barcodes;
    for (const auto& g : pass.freeGrants)
        if (!barcodes.contains(g.barcode, Qt::CaseInsensitive)) barcodes << g.barcode;
    const QHash<QString, FreeGood> goods = freeGoodsOf(db(), barcodes);
    const bool checked = services_.lines->stockChecked();
    const int inventory = doc().sltInventory.IsEmpty() ? -1 : doc().sltInventory.ID();
    QHash<QString, double> stock;
    QHash<QString, double> temp;
    if (checked) {
        const QHash<QString, double> found =
            InventoryStocks(ctx(), inventory, barcodes, invoiceDate(), doc().invoiceID());
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            stock[PromotionGoodsKey(it.key())] += it.value();
        if (ctx().params.flag(P::ShowTempQty)) {
            const QHash<QString, double> held =
                TempInvoiceQuantities(db(), barcodes, inventory, doc().invoiceID());
            for (auto it = held.cbegin(); it != held.cend(); ++it)
                temp[PromotionGoodsKey(it.key())] += it.value();
        }
    }
    QHash<QString, double> onInvoice = quantitiesOnInvoice(doc(), pass.units);
    LineTableModel& ech = doc().flexEch;
    for (const auto& grant : pass.freeGrants) {
        Promotion& p = promotions_[grant.promotion];
        const QString key = PromotionGoodsKey(grant.barcode);
        const auto good = goods.constFind(key);
        if (good == goods.constEnd()) continue;
        const int unit = p.DiscountScaleID > 0 ? p.DiscountScaleID : good->saleScaleID;
        if (p.DiscountScaleID > 0 && !pass.units.has(unit)) continue;
        const double cof = pass.units.factor(unit);
        const bool integer = pass.units.byId.value(unit).integer;
        double qty = grant.qty;
        if (checked) {
            const double available = stock.value(key) - onInvoice.value(key) - temp.value(key);
            double most = available / cof;
            if (integer) most = std::floor(most + kQtyEpsilon);
            const QString named = kFreeGoodsPrefix + good->barcode + kFreeGoodsMiddle + good->name;
            if (available <= kQtyEpsilon || most <= kQtyEpsilon) {
                ShowMessage(ctx(), kFreeGoodsCaption, named + kFreeGoodsNoStock);
                continue;
            }
            if (most + kQtyEpsilon < qty) {
                ShowMessage(ctx(), kFreeGoodsCaption, named + kFreeGoodsCut);
                qty = most;
            }
        }
        InvoiceLine l;
        l.BarCode = good->barcode;
        l.GoodCode = good->code;
        l.GoodName = good->name;
        l.Description = QString::number(p.ID) + kSystemFreeGoods;
        l.Qty = qty;
        l.ScaleID = unit;
        l.UnitName = pass.units.byId.value(unit).name;
        l.BaseQty = qty * cof;
        if (ctx().params.flag(P::BaseUnitPrice)) {
            l.BaseUnitPrice = good->retailPrice;
            l.UnitPrice = lines::roundRialsHalfEven(good->retailPrice.times(cof));
        } else {
            l.UnitPrice = good->retailPrice;
            l.BaseUnitPrice = Money::fromDouble(good->retailPrice.toDouble() / cof);
        }
        l.GoodGroupID = good->group;
        l.IsEchantillon = true;
        l.PromotionMark = QString::number(p.ID);
        l.PromotionRule = QString::number(p.Sequence);
        const int row = ech.appendLine(l);
        services_.totals->RecomputeRowSum(row, ech);
        onInvoice[key] += l.BaseQty;
        p.freeRows << row + 1;
    }
}

}  // namespace si

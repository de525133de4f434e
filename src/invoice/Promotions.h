#pragma once
// Promotions valid on a day and the rules that decide whether one detail of a promotion holds for
// the lines of an invoice. The promotion pass itself (which lines get which percent, which free
// goods are added) is DiscountLogic's; the rules here read no widget and no database, so each can
// be checked on plain lines.
//
// What the fields of a promotion detail mean:
// - Lists. A line qualifies when its barcode is in the positive goods list or its goods group in
//   the positive group list, and neither its barcode nor its group is in a negative list. A line
//   hit by a negative list is an excluded line. A line already taken by an earlier promotion of
//   the same pass (the array's order: newest begin date, higher priority, higher sequence first)
//   does not qualify again, so tiers and overlapping promotions never give one line two grants.
// - PositiveRowCountMin / PositiveRowCountMax: the number of qualifying lines must be at least the
//   minimum and at most the maximum; a bound below 1 is no bound.
// - NegativeRowCountFix: when 1 or more, the detail holds only when exactly that many lines of
//   the invoice are excluded lines; below 1 it sets no condition.
// - Qty: when above 0, the qualifying lines together must hold at least Qty of the unit ScaleID
//   (base quantities divided by that unit's ScaleToBaseParent; no unit counts base units). Each
//   full Qty is one step of the grant: "3 bought, 1 free" grants 2 for 6 bought.
// - ValueFrom / ValueTo: the gross amount (price x quantity) of the qualifying lines must be at
//   least ValueFrom and at most ValueTo; a bound that is NULL or 0 is open.
// - IsComposite: a promotion with a composite detail applies only when every detail of it holds;
//   then all of them apply, else none.
// - The grant: DiscountPercent (when above 0) is a line percent; DiscountQty (when above 0) is a
//   free quantity of DiscountScaleID's unit per step (the goods' sale unit when it is unset),
//   added to flexEch.
// - Who receives it: IsDiscountGoodSelf gives it to the qualifying goods, IsDiscountOtherGoods to
//   the goods of the free-goods list (a percent to those goods' lines on the invoice, a free
//   quantity of each of them); both flags give it to both. With neither flag it goes to the
//   free-goods list when the list has goods, else to the qualifying goods.
// - isDiscountCheapestOne: of the qualifying goods only the cheapest line (lowest price of a base
//   unit; the first on a tie) receives the grant. A free quantity of the qualifying goods is
//   always of one goods: the cheapest with this flag, else the first qualifying line's.
// - IsOverDiscount: the promotion percent is added to the line's standard discount (its price
//   list's or its goods' own, what pricing gave the line) instead of replacing the line percent;
//   the sum is capped at 100. Measured from the standard discount, a pass run again, or run on a
//   reloaded invoice, gives the same percent.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include "common/Money.h"
#include "common/Session.h"

namespace si {

struct Promotion {
    int ID = 0;
    int Sequence = 0;
    int PriorityNo = 0;
    QString Notes;
    double DiscountQty = 0;
    double DiscountPercent = 0;
    int NegativeRowCountFix = 0;
    int PositiveRowCountMax = 0;
    int PositiveRowCountMin = 0;
    Money ValueFrom;
    Money ValueTo;
    double Qty = 0;
    QSet<QString> positiveGoods;  // keys of PromotionGoodsKey
    QSet<QString> negativeGoods;
    QSet<int> positiveGroups;
    QSet<int> negativeGroups;
    bool IsComposite = false;
    bool isDiscountCheapestOne = false;
    bool IsDiscountOtherGoods = false;
    bool IsDiscountGoodSelf = false;
    bool IsOverDiscount = false;
    int DiscountScaleID = -1;
    int ScaleID = -1;
    QStringList freeGoods;  // tblSalePromotionDetailEchantillonGood, in stored order
    bool applied = false;
    // What the last pass did with it: 1-based rows of flexDetail that qualified and of flexEch
    // that it added.
    QVector<int> goodsRows;
    QVector<int> freeRows;

    bool grantsPercent() const { return DiscountPercent > 0; }
    bool grantsGoods() const { return DiscountQty > 0; }
    // Whether the grant goes to the qualifying goods and to the free-goods list.
    bool toSelf() const {
        return IsDiscountGoodSelf || (!IsDiscountOtherGoods && freeGoods.isEmpty());
    }
    bool toOthers() const {
        return IsDiscountOtherGoods || (!IsDiscountGoodSelf && !freeGoods.isEmpty());
    }
};

// Barcodes are compared without surrounding blanks and regardless of case.
QString PromotionGoodsKey(const QString& barcode);

// The promotion details valid on the Jalali day, in the pass's order (begin date, priority and
// sequence, each descending), with their lists: four statements whatever their number.
QVector<Promotion> LoadPromotions(Session& s, const QString& farsiDate);

// One goods line as the rules see it.
struct PromotionLine {
    int row = -1;  // row of flexDetail
    QString barcode;
    QString key;  // PromotionGoodsKey of the barcode
    int group = -1;
    double baseQty = 0;    // quantity in base units
    Money gross;           // price x quantity
    double basePrice = 0;  // price of one base unit
};

struct PromotionMatch {
    bool holds = false;
    QVector<int> qualifying;  // indexes into the lines
    int steps = 0;            // full Qty steps (1 without a quantity condition)
};

bool QualifiesFor(const Promotion& p, const PromotionLine& line);
bool ExcludedBy(const Promotion& p, const PromotionLine& line);
// Tests one detail against the lines not yet taken. conditionUnit is the base units in one
// ScaleID unit.
PromotionMatch MatchPromotion(const Promotion& p, const QVector<PromotionLine>& lines,
                              const QVector<bool>& taken, double conditionUnit);
// The index (into lines) of the cheapest of the qualifying lines.
int CheapestLine(const QVector<PromotionLine>& lines, const QVector<int>& qualifying);

}  // namespace si

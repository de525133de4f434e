#include <QHash>
#include <cmath>

#include "invoice/Promotions.h"

namespace si {

namespace {

constexpr double kQtyEpsilon = 1e-9;

const QString kPromotionDetails = QStringLiteral(
    "select pd.* from tblSalePromotion p inner join tblSalePromotionDetail pd on "
    "p.ID=pd.PromotionID where p.FarsiBeginDate<=? and p.FarsiEndDate>=? order by "
    "p.FarsiBeginDate desc, coalesce(pd.PriorityNo,0) desc, pd.Sequence desc, p.ID desc");

// The rows of a list table of the promotions valid on the day.
QString listOf(const QString& table, const QString& column) {
    return QStringLiteral("select x.PromotionID, x.Sequence, x.") + column +
           QStringLiteral(" as Item") +
           (table == QLatin1String("tblSalePromotionDetailEchantillonGood")
                ? QString()
                : QStringLiteral(", x.isPositive")) +
           QStringLiteral(" from ") + table +
           QStringLiteral(
               " x inner join tblSalePromotion p on p.ID=x.PromotionID where "
               "p.FarsiBeginDate<=? and p.FarsiEndDate>=? order by x.ID");
}

Promotion promotionOf(const Row& r) {
    Promotion p;
    p.ID = r.toInt(u"PromotionID");
    p.Sequence = r.toInt(u"Sequence");
    p.PriorityNo = r.toInt(u"PriorityNo");
    p.Notes = r.text(u"Notes");
    p.DiscountQty = r.toDouble(u"DiscountQty");
    p.DiscountPercent = r.toDouble(u"DiscountPercent");
    p.NegativeRowCountFix = r.toInt(u"NegativeRowCountFix");
    p.PositiveRowCountMax = r.toInt(u"PositiveRowCountMax");
    p.PositiveRowCountMin = r.toInt(u"PositiveRowCountMin");
    p.ValueFrom = r.money(u"ValueFrom");
    p.ValueTo = r.money(u"ValueTo");
    p.Qty = r.toDouble(u"Qty");
    p.IsComposite = r.toBool(u"IsComposite");
    p.isDiscountCheapestOne = r.toBool(u"isDiscountCheapestOne");
    p.IsDiscountOtherGoods = r.toBool(u"IsDiscountOtherGoods");
    p.IsDiscountGoodSelf = r.toBool(u"IsDiscountGoodSelf");
    p.IsOverDiscount = r.toBool(u"IsOverDiscount");
    p.DiscountScaleID = r.toInt(u"DiscountScaleID", -1);
    p.ScaleID = r.toInt(u"ScaleID", -1);
    return p;
}

qint64 detailKey(int promotion, int sequence) {
    return (static_cast<qint64>(promotion) << 32) | static_cast<quint32>(sequence);
}

}  // namespace

QString PromotionGoodsKey(const QString& barcode) {
    return barcode.trimmed().toUpper();
}

QVector<Promotion> LoadPromotions(Session& s, const QString& farsiDate) {
    const Params day{farsiDate, farsiDate};
    QVector<Promotion> promotions;
    QHash<qint64, int> indexOf;
    for (const Row& r : s.query(kPromotionDetails, day)) {
        promotions << promotionOf(r);
        indexOf.insert(detailKey(promotions.last().ID, promotions.last().Sequence),
                       static_cast<int>(promotions.size() - 1));
    }
    if (promotions.isEmpty()) return promotions;
    const auto detailOf = [&](const Row& r) -> Promotion* {
        const auto at = indexOf.constFind(detailKey(r.toInt(u"PromotionID"), r.toInt(u"Sequence")));
        return at == indexOf.constEnd() ? nullptr : &promotions[*at];
    };
    for (const Row& r : s.query(
             listOf(QStringLiteral("tblSalePromotionDetailGood"), QStringLiteral("Barcode")), day))
        if (Promotion* p = detailOf(r))
            (r.toBool(u"isPositive") ? p->positiveGoods : p->negativeGoods)
                .insert(PromotionGoodsKey(r.text(u"Item")));
    for (const Row& r : s.query(listOf(QStringLiteral("tblSalePromotionDetailGoodGroup"),
                                       QStringLiteral("GoodGroupID")),
                                day))
        if (Promotion* p = detailOf(r))
            (r.toBool(u"isPositive") ? p->positiveGroups : p->negativeGroups)
                .insert(r.toInt(u"Item"));
    for (const Row& r : s.query(listOf(QStringLiteral("tblSalePromotionDetailEchantillonGood"),
                                       QStringLiteral("Barcode")),
                                day))
        if (Promotion* p = detailOf(r)) p->freeGoods << r.text(u"Item").trimmed();
    return promotions;
}

// ---- the rules -------------------------------------------------------------------------------

bool ExcludedBy(const Promotion& p, const PromotionLine& line) {
    return p.negativeGoods.contains(line.key) || p.negativeGroups.contains(line.group);
}

bool QualifiesFor(const Promotion& p, const PromotionLine& line) {
    const bool listed = p.positiveGoods.contains(line.key) || p.positiveGroups.contains(line.group);
    return listed && !ExcludedBy(p, line);
}

PromotionMatch MatchPromotion(const Promotion& p, const QVector<PromotionLine>& lines,
                              const QVector<bool>& taken, double conditionUnit) {
    PromotionMatch m;
    int excluded = 0;
    double baseQty = 0;
    Money value;
    for (int i = 0; i < lines.size(); ++i) {
        if (ExcludedBy(p, lines[i])) ++excluded;
        if (taken[i] || !QualifiesFor(p, lines[i])) continue;
        m.qualifying << i;
        baseQty += lines[i].baseQty;
        value += lines[i].gross;
    }
    const int count = static_cast<int>(m.qualifying.size());
    if (count == 0) return m;
    if (p.PositiveRowCountMin >= 1 && count < p.PositiveRowCountMin) return m;
    if (p.PositiveRowCountMax >= 1 && count > p.PositiveRowCountMax) return m;
    if (p.NegativeRowCountFix >= 1 && excluded != p.NegativeRowCountFix) return m;
    if (p.ValueFrom > Money() && value < p.ValueFrom) return m;
    if (p.ValueTo > Money() && value > p.ValueTo) return m;
    m.steps = 1;
    if (p.Qty > 0) {
        const double inUnit = baseQty / (conditionUnit > 0 ? conditionUnit : 1);
        m.steps = static_cast<int>(std::floor(inUnit / p.Qty + kQtyEpsilon));
        if (m.steps < 1) return m;
    }
    m.holds = true;
    return m;
}

int CheapestLine(const QVector<PromotionLine>& lines, const QVector<int>& qualifying) {
    int cheapest = -1;
    for (int i : qualifying)
        if (cheapest < 0 || lines[i].basePrice < lines[cheapest].basePrice) cheapest = i;
    return cheapest;
}

}  // namespace si

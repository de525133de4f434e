// The promotion pass: the promotions valid on the invoice's day are tested in their order against
// the goods lines (the rules are in Promotions.h), the percents they grant are set, their free
// goods added to flexEch, and the card and birthday parts put back on every line. Everything the
// pass reads comes in a fixed number of statements, whatever the number of lines and promotions.

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "common/Jalali.h"
#include "invoice/DiscountLogic.h"
#include "invoice/DiscountPass.h"
#include "invoice/DiscountTexts.h"
#include "invoice/TotalsLogic.h"

namespace si {

using namespace discounts;

namespace {

constexpr double kPercentEpsilon = 1e-9;

// Column 46 of a line the pass set: "own|set".
struct AutoPercent {
    double own = 0;
    double set = 0;
};

QString autoPercentText(const AutoPercent& a) {
    return QString::number(a.own, 'g', 15) + QLatin1Char('|') + QString::number(a.set, 'g', 15);
}

std::optional<AutoPercent> autoPercentOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('|'));
    if (parts.size() != 2) return std::nullopt;
    bool ownOk = false;
    bool setOk = false;
    AutoPercent a{parts[0].toDouble(&ownOk), parts[1].toDouble(&setOk)};
    if (!ownOk || !setOk) return std::nullopt;
    return a;
}

bool isSystemFreeGoods(const InvoiceLine& line) {
    static const QRegularExpression kDescription(QStringLiteral("^\\s*\\d+") + kSystemFreeGoods +
                                                 QStringLiteral("\\s*$"));
    return !line.PromotionMark.isEmpty() || kDescription.match(line.Description).hasMatch();
}

// What decides whether a line must be resynchronised at the end of the pass.
struct LineState {
    double percent = 0;
    double birthday = 0;
    double card = 0;
    int kind = kDiscountAsPercent;
    bool operator==(const LineState&) const = default;
};

LineState stateOf(const InvoiceLine& l) {
    return {l.DiscountPercent, l.BirthdayPercent, l.CardPercent, l.DiscountKind};
}

}  // namespace

// ---- running ---------------------------------------------------------------------------------

void DiscountLogic::cmdRefreshEchantillon_Click() {
    if (entryMode()) RefreshEchantillon();
}

void DiscountLogic::RefreshEchantillon() {
    if (passRunning_) return;
    struct Running {
        explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
        ~Running() { flag_ = false; }
        bool& flag_;
    } running(passRunning_);
    runPromotionPass();
}

const QVector<Promotion>& DiscountLogic::promotions() {
    const QString day = getFarsiDate(invoiceDate());
    if (day != promotionsDay_) {
        promotions_ = LoadPromotions(db(), day);
        promotionsDay_ = day;
    }
    return promotions_;
}

QVector<PromotionDisplayRow> DiscountLogic::PromotionDisplay() {
    QVector<PromotionDisplayRow> rows;
    for (const Promotion& p : promotions())
        rows.push_back({p.ID, p.Sequence, p.PriorityNo, p.Notes, p.goodsRows, p.freeRows});
    return rows;
}

void DiscountLogic::runPromotionPass() {
    PromotionPass pass;
    pass.units = UnitFacts::read(db());
    promotionsDay_ = getFarsiDate(invoiceDate());
    promotions_ = LoadPromotions(db(), promotionsDay_);
    QVector<LineState> before;
    for (int row = 0; row < grid().rows(); ++row)
        before << stateOf(grid().line(row));

    undoLastPass();
    removeSystemFreeGoods();
    pass.lines = promotionLines(pass);
    pass.taken.fill(false, pass.lines.size());
    pass.promoted.fill(false, pass.lines.size());
    QStringList barcodes;
    for (const PromotionLine& l : std::as_const(pass.lines))
        barcodes << l.barcode;
    const bool overDiscount = std::any_of(promotions_.cbegin(), promotions_.cend(),
                                          [](const Promotion& p) { return p.IsOverDiscount; });
    pass.rates = ratesFor(barcodes, overDiscount || ctx().params.flag(P::StandardExcludesCard));

    matchPromotions(pass);
    addFreeGoods(pass);
    for (int row = 0; row < grid().rows(); ++row) {
        applyCardParts(row, pass.rates);
        if (!(stateOf(grid().line(row)) == before[row])) resyncLine(row, true);
    }
    services_.totals->ComputeGrandTotal();
}

// Lines come back to what they were before the last pass: without their card and birthday parts,
// and with their own percent where a promotion had set one the clerk has not changed since.
void DiscountLogic::undoLastPass() {
    for (int row : grid().filledRows()) {
        InvoiceLine& l = grid().line(row);
        stripCardParts(l);
        if (l.PromotionMark.isEmpty() && l.AutoPromotionMark.isEmpty()) continue;
        const auto percent = autoPercentOf(l.AutoPromotionMark);
        if (percent && std::abs(l.DiscountPercent - percent->set) < kPercentEpsilon) {
            l.DiscountPercent = percent->own;
            l.DiscountKind = kDiscountAsPercent;
        }
        l.PromotionMark.clear();
        l.AutoPromotionMark.clear();
        l.PromotionRule.clear();
    }
}

void DiscountLogic::removeSystemFreeGoods() {
    LineTableModel& ech = doc().flexEch;
    for (int row = ech.rows() - 1; row >= 0; --row)
        if (ech.line(row).isFilled() && isSystemFreeGoods(ech.line(row))) ech.DeleteLine(row);
}

QVector<PromotionLine> DiscountLogic::promotionLines(const PromotionPass& pass) const {
    QVector<PromotionLine> lines;
    for (int row : grid().filledRows()) {
        const InvoiceLine& l = grid().line(row);
        const double factor = pass.units.factor(l.ScaleID);
        PromotionLine p;
        p.row = row;
        p.barcode = l.BarCode.trimmed();
        p.key = PromotionGoodsKey(l.BarCode);
        p.group = l.GoodGroupID;
        p.baseQty = l.Qty * factor;
        p.gross = l.UnitPrice.times(l.Qty).fix();
        p.basePrice = l.UnitPrice.toDouble() / factor;
        lines << p;
    }
    return lines;
}

// ---- matching --------------------------------------------------------------------------------

void DiscountLogic::matchPromotions(PromotionPass& pass) {
    QSet<int> composite;
    for (const Promotion& p : std::as_const(promotions_))
        if (p.IsComposite) composite.insert(p.ID);
    pass.tested.fill(false, promotions_.size());
    for (int i = 0; i < promotions_.size(); ++i) {
        if (pass.tested[i] || promotions_[i].applied) continue;
        if (composite.contains(promotions_[i].ID)) {
            matchComposite(pass, i);
            continue;
        }
        pass.tested[i] = true;
        const Promotion& p = promotions_[i];
        const PromotionMatch m =
            MatchPromotion(p, pass.lines, pass.taken, pass.units.factor(p.ScaleID));
        if (m.holds) grant(pass, i, m);
    }
}

// Every detail of a composite promotion must hold, each on lines the ones before it left.
void DiscountLogic::matchComposite(PromotionPass& pass, int first) {
    const int id = promotions_[first].ID;
    QVector<int> members;
    for (int i = first; i < promotions_.size(); ++i)
        if (promotions_[i].ID == id) {
            members << i;
            pass.tested[i] = true;
        }
    QVector<bool> taken = pass.taken;
    QVector<PromotionMatch> matches;
    for (int i : members) {
        const Promotion& p = promotions_[i];
        const PromotionMatch m = MatchPromotion(p, pass.lines, taken, pass.units.factor(p.ScaleID));
        if (!m.holds) return;
        for (int q : m.qualifying)
            taken[q] = true;
        matches << m;
    }
    for (int k = 0; k < members.size(); ++k)
        grant(pass, members[k], matches[k]);
}

void DiscountLogic::grant(PromotionPass& pass, int index, const PromotionMatch& match) {
    Promotion& p = promotions_[index];
    p.applied = true;
    for (int q : match.qualifying) {
        pass.taken[q] = true;
        p.goodsRows << pass.lines[q].row + 1;
    }
    const int cheapest = CheapestLine(pass.lines, match.qualifying);
    const QVector<int> selves = p.isDiscountCheapestOne ? QVector<int>{cheapest} : match.qualifying;
    QSet<QString> others;
    for (const QString& b : std::as_const(p.freeGoods))
        others.insert(PromotionGoodsKey(b));
    if (p.grantsPercent() && p.toSelf())
        for (int q : selves)
            grantPercent(pass, index, q);
    if (p.grantsPercent() && p.toOthers())
        for (int i = 0; i < pass.lines.size(); ++i) {
            if (pass.taken[i] || !others.contains(pass.lines[i].key)) continue;
            pass.taken[i] = true;
            p.goodsRows << pass.lines[i].row + 1;
            grantPercent(pass, index, i);
        }
    if (!p.grantsGoods()) return;
    const double qty = p.DiscountQty * match.steps;
    if (p.toSelf()) {
        const int giver = p.isDiscountCheapestOne ? cheapest : match.qualifying.first();
        pass.freeGrants.push_back({index, pass.lines[giver].barcode, qty});
    }
    if (p.toOthers())
        for (const QString& b : std::as_const(p.freeGoods))
            pass.freeGrants.push_back({index, b, qty});
}

// The promotion percent replaces the line's own percent, or with IsOverDiscount is added to the
// line's standard discount.
void DiscountLogic::grantPercent(PromotionPass& pass, int index, int line) {
    if (pass.promoted[line]) return;
    pass.promoted[line] = true;
    const Promotion& p = promotions_[index];
    InvoiceLine& l = grid().line(pass.lines[line].row);
    double percent = p.DiscountPercent;
    if (p.IsOverDiscount)
        percent += pass.rates.standardPercent(l.BarCode, lineMethod(l), pass.lines[line].gross);
    percent = std::min(100.0, std::round(percent * 1e6) / 1e6);
    l.AutoPromotionMark = autoPercentText({l.DiscountPercent, percent});
    l.PromotionMark = QString::number(p.ID);
    l.PromotionRule = QString::number(p.Sequence);
    l.DiscountPercent = percent;
    l.DiscountKind = kDiscountAsPercent;
}

}  // namespace si

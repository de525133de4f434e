// A stored line's discount by kind (tblSaleInvoiceDetailDiscount): writing it with the save (all
// lines with a fixed number of statements), reading the card and birthday percents back when the
// invoice loads, and the check that keeps two lines of one goods from needing two rows of the
// same kind.

#include <QChar>
#include <QSet>
#include <cmath>

#include "common/Messages.h"
#include "common/RowInserts.h"
#include "invoice/DiscountLogic.h"
#include "invoice/DiscountTexts.h"
#include "invoice/TotalsMath.h"

namespace si {

using namespace discounts;

namespace {

constexpr int kOwnKind = 1;
constexpr int kCardKind = 2;
constexpr int kBirthdayKind = 3;
constexpr double kPercentEpsilon = 1e-9;
const QChar kSeparator(0x1f);

// The amount of a card or birthday percent: price x quantity x percent / 100 rounded half up to
// a tenth, then cut to whole Rials as line amounts are. The division by 100 is exact, so a half
// is met as a half.
Money partValue(const InvoiceLine& line, double percent) {
    const Money timesPercent = line.UnitPrice.times(line.Qty).times(percent);
    const Int128 tenths = totals::roundHalfUpQuotient(timesPercent.raw(), Money::kScale * 10);
    return Money::fromRials(static_cast<std::int64_t>(tenths / 10));
}

double tidy(double percent) {
    return std::round(percent * 1e6) / 1e6;
}

bool hasCardParts(const InvoiceLine& line) {
    return line.CardPercent > 0 || line.BirthdayPercent > 0;
}

QString notNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

}  // namespace

QString DiscountLogic::storedKey(const QString& barcode, const QString& description, int scaleId) {
    return barcode.trimmed() + kSeparator + description.trimmed() + kSeparator +
           QString::number(scaleId);
}

void DiscountLogic::DeleteDetailDiscounts(int invoiceId) {
    db().exec(QStringLiteral("DELETE FROM tblSaleInvoiceDetailDiscount WHERE InvoiceID=?"),
              {invoiceId});
}

void DiscountLogic::InsertDetailDiscount(int invoiceId, int row) {
    InsertDetailDiscounts(invoiceId, {row});
}

// With parameter 5022 the standard discounts decide whether a line's card and birthday parts
// count; they are asked once, for the goods of the lines that have such parts. The kind rows of all
// the lines are summed per goods, description, unit and kind first, then written together.
void DiscountLogic::InsertDetailDiscounts(int invoiceId, const QVector<int>& rows) {
    const bool standardFirst = ctx().params.flag(P::StandardExcludesCard);
    QVector<int> lines;
    QStringList withParts;
    for (int row : rows) {
        if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) continue;
        lines << row;
        const InvoiceLine& l = grid().line(row);
        if (standardFirst && hasCardParts(l)) withParts << l.BarCode;
    }
    if (lines.isEmpty()) return;
    const GoodDiscountRates rates = withParts.isEmpty()
                                        ? GoodDiscountRates()
                                        : GoodDiscountRates(db(), {withParts, -1, false, true});
    QVector<KindRow> kinds;
    QHash<QString, qsizetype> kindAt;
    for (int row : lines) {
        const InvoiceLine& l = grid().line(row);
        const bool standardOnly = rates.hasStandardDiscounts(l.BarCode, lineMethod(l));
        for (const KindRow& part : kindsOf(l, standardOnly)) {
            const QString key = kindKey(part);
            const auto found = kindAt.constFind(key);
            if (found == kindAt.constEnd()) {
                kindAt.insert(key, kinds.size());
                kinds << part;
            } else {
                kinds[*found].value += part.value;
            }
        }
    }
    writeKinds(invoiceId, kinds);
}

// With parameter 5021 a part larger than what is left of the line percent, while the other part
// is larger still, stays in the line's own kind: the clerk lowered the line below the sum.
QVector<DiscountLogic::KindRow> DiscountLogic::kindsOf(const InvoiceLine& l,
                                                       bool standardOnly) const {
    QVector<KindRow> kinds;
    const auto kind = [&l](int type, double percent, Money value) {
        return KindRow{l.BarCode, notNull(l.Description), l.ScaleID, type, percent, value};
    };
    double percent = l.DiscountPercent;
    Money value = l.DiscountValue;
    const double cd = l.CardPercent;
    const double bd = l.BirthdayPercent;
    const bool add = ctx().params.flag(P::CardBirthdayAdd);
    if (!standardOnly) {
        if (cd > 0 && !(add && cd > percent && cd < bd)) {
            const Money cv = partValue(l, cd);
            kinds << kind(kCardKind, cd, cv);
            percent = tidy(percent - cd);
            value -= cv;
        }
        if (bd > 0 && !(add && bd > percent && bd <= cd)) {
            const Money bv = partValue(l, bd);
            kinds << kind(kBirthdayKind, bd, bv);
            percent = tidy(percent - bd);
            value -= bv;
        }
    }
    if (percent > 0 && value > Money()) kinds << kind(kOwnKind, percent, value);
    return kinds;
}

QString DiscountLogic::kindKey(const KindRow& k) {
    return k.barcode + kSeparator + k.description + kSeparator + QString::number(k.scaleId) +
           kSeparator + QString::number(k.kind);
}

// Lines of the same goods, description and unit share one row per kind: a kind already stored
// for the invoice takes the lines' value on top of its own, the others are inserted.
void DiscountLogic::writeKinds(int invoiceId, const QVector<KindRow>& kinds) {
    if (kinds.isEmpty()) return;
    QSet<QString> stored;
    for (const Row& r :
         db().query(QStringLiteral("select Barcode, Description, ScaleID, DiscountTypeID from "
                                   "tblSaleInvoiceDetailDiscount where InvoiceID=?"),
                    {invoiceId}))
        if (!r.isNull(u"Description") && !r.isNull(u"ScaleID"))
            stored.insert(kindKey({r.text(u"Barcode"),
                                   r.text(u"Description"),
                                   r.toInt(u"ScaleID"),
                                   r.toInt(u"DiscountTypeID"),
                                   0,
                                   {}}));
    RowInserts inserts(QStringLiteral("INSERT INTO tblSaleInvoiceDetailDiscount (InvoiceID, "
                                      "Barcode, Description, ScaleID, DiscountTypeID, "
                                      "DiscountPercent, DiscountValue)"),
                       7);
    for (const KindRow& k : kinds) {
        const QVariant amount = QVariant::fromValue(k.value);
        if (!stored.contains(kindKey(k))) {
            inserts.add(
                {invoiceId, k.barcode, k.description, k.scaleId, k.kind, k.percent, amount});
            continue;
        }
        db().exec(QStringLiteral("UPDATE tblSaleInvoiceDetailDiscount SET "
                                 "DiscountValue=coalesce(DiscountValue,0)+? WHERE InvoiceID=? and "
                                 "Barcode=? and Description=? and ScaleID=? and DiscountTypeID=?"),
                  {amount, invoiceId, k.barcode, k.description, k.scaleId, k.kind});
    }
    inserts.exec(db());
}

QHash<QString, DiscountLogic::LineParts> DiscountLogic::storedParts(int invoiceId) {
    QHash<QString, LineParts> parts;
    const RowSet rows = db().query(
        QStringLiteral("select Barcode, Description, ScaleID, DiscountTypeID, DiscountPercent "
                       "from tblSaleInvoiceDetailDiscount where InvoiceID=? order by ID"),
        {invoiceId});
    for (const Row& r : rows) {
        LineParts& p =
            parts[storedKey(r.text(u"Barcode"), r.text(u"Description"), r.toInt(u"ScaleID", -1))];
        const int kind = r.toInt(u"DiscountTypeID");
        if (kind == kBirthdayKind) p.birthday = r.toDouble(u"DiscountPercent");
        if (kind == kCardKind) p.card = r.toDouble(u"DiscountPercent");
    }
    return parts;
}

// While a stored invoice loads, its kind rows are read once, when its first line arrives;
// otherwise every call reads them afresh.
void DiscountLogic::FillDetailDiscount(int row) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return;
    const int invoice = doc().invoiceID();
    if (invoice < 1) return;
    if (!doc().loading || row == 0 || invoice != storedInvoice_) {
        stored_ = storedParts(invoice);
        storedInvoice_ = invoice;
    }
    InvoiceLine& l = grid().line(row);
    const LineParts parts = stored_.value(storedKey(l.BarCode, l.Description, l.ScaleID));
    l.BirthdayPercent = parts.birthday;
    l.CardPercent = parts.card;
    grid().lineChanged(row);
}

bool DiscountLogic::CheckSameGoodsDiscounts() {
    struct Group {
        int first = -1;
        double percent = 0;
        int differing = -1;
    };
    QHash<QString, Group> groups;
    for (int row : grid().filledRows()) {
        const InvoiceLine& l = grid().line(row);
        const QString key = l.BarCode.trimmed() + kSeparator + QString::number(l.ScaleID) +
                            kSeparator + l.Description;
        auto group = groups.find(key);
        if (group == groups.end())
            groups.insert(key, {row, l.DiscountPercent, -1});
        else if (group->differing < 0 &&
                 std::abs(group->percent - l.DiscountPercent) > kPercentEpsilon)
            group->differing = row;
    }
    // The pair the row-by-row comparison meets first: the lowest first row of a differing group.
    const Group* found = nullptr;
    for (const Group& g : std::as_const(groups))
        if (g.differing >= 0 && (!found || g.first < found->first)) found = &g;
    if (!found) return true;
    ShowMessage(ctx(), kSameGoodsCaption,
                kSameGoodsPrefix + QString::number(found->first + 1) + kSameGoodsMiddle +
                    QString::number(found->differing + 1) + kSameGoodsSuffix);
    return false;
}

}  // namespace si

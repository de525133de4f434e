// A stored line's discount by kind (tblSaleInvoiceDetailDiscount): writing it with the save,
// reading the card and birthday percents back when the invoice loads, and the check that keeps
// two lines of one goods from needing two rows of the same kind.

#include <QChar>
#include <cmath>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/DiscountLogic.h"
#include "invoice/DiscountTexts.h"

namespace si {

using namespace discounts;

namespace {

constexpr int kOwnKind = 1;
constexpr int kCardKind = 2;
constexpr int kBirthdayKind = 3;
constexpr double kPercentEpsilon = 1e-9;
const QChar kSeparator(0x1f);

// The amount of a card or birthday percent: price x quantity x percent / 100 rounded half up to
// a tenth, then cut to whole Rials as line amounts are.
Money partValue(const InvoiceLine& line, double percent) {
    return RoundHalfUp(line.UnitPrice.toDouble() * line.Qty * percent / 100, 1).fix();
}

double tidy(double percent) {
    return std::round(percent * 1e6) / 1e6;
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

// With parameter 5021 a part larger than what is left of the line percent, while the other part
// is larger still, stays in the line's own kind: the clerk lowered the line below the sum.
void DiscountLogic::InsertDetailDiscount(int invoiceId, int row) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return;
    const InvoiceLine& l = grid().line(row);
    double percent = l.DiscountPercent;
    Money value = l.DiscountValue;
    const double cd = l.CardPercent;
    const double bd = l.BirthdayPercent;
    const bool add = ctx().params.flag(P::CardBirthdayAdd);
    const bool standardOnly = ctx().params.flag(P::StandardExcludesCard) &&
                              HasStandardDiscounts(l.BarCode, lineMethod(l));
    if (!standardOnly) {
        if (cd > 0 && !(add && cd > percent && cd < bd)) {
            const Money cv = partValue(l, cd);
            bookKind(invoiceId, l, kCardKind, cd, cv);
            percent = tidy(percent - cd);
            value -= cv;
        }
        if (bd > 0 && !(add && bd > percent && bd <= cd)) {
            const Money bv = partValue(l, bd);
            bookKind(invoiceId, l, kBirthdayKind, bd, bv);
            percent = tidy(percent - bd);
            value -= bv;
        }
    }
    if (percent > 0 && value > Money()) bookKind(invoiceId, l, kOwnKind, percent, value);
}

// Lines of the same goods, description and unit share one row per kind: the second adds its value.
void DiscountLogic::bookKind(int invoiceId, const InvoiceLine& line, int kind, double percent,
                             Money value) {
    const QString description = notNull(line.Description);
    const QVariant amount = QVariant::fromValue(value);
    const int updated = db().exec(
        QStringLiteral("UPDATE tblSaleInvoiceDetailDiscount SET "
                       "DiscountValue=coalesce(DiscountValue,0)+? WHERE InvoiceID=? and Barcode=? "
                       "and Description=? and ScaleID=? and DiscountTypeID=?"),
        {amount, invoiceId, line.BarCode, description, line.ScaleID, kind});
    if (updated > 0) return;
    db().exec(QStringLiteral("INSERT INTO tblSaleInvoiceDetailDiscount (InvoiceID, Barcode, "
                             "Description, ScaleID, DiscountTypeID, DiscountPercent, "
                             "DiscountValue) VALUES (?,?,?,?,?,?,?)"),
              {invoiceId, line.BarCode, description, line.ScaleID, kind, percent, amount});
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

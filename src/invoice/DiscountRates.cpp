#include "invoice/DiscountRates.h"

#include <QSet>
#include <algorithm>

#include "common/Jalali.h"
#include "common/Numbers.h"

namespace si {

namespace {

constexpr qsizetype kSlice = 400;

QString placeholders(qsizetype count) {
    return QStringList(count, QStringLiteral("?")).join(QLatin1Char(','));
}

template <typename T>
Params paramsOf(const QVector<T>& values) {
    Params params;
    for (const T& v : values)
        params << v;
    return params;
}

double clampPercent(double percent) {
    return std::clamp(percent, 0.0, 100.0);
}

QString key(const QString& barcode) {
    return barcode.trimmed();
}

QString priceListKey(const QString& barcode, int method) {
    return key(barcode) + QLatin1Char('|') + QString::number(method);
}

// The first row of each key wins (rows come in ID order).
template <typename K>
void keepFirst(QHash<K, double>& into, const K& k, const Row& r) {
    if (!into.contains(k)) into.insert(k, r.toDouble(u"DiscountPercent"));
}

}  // namespace

int BirthdayDiscountDays(Session& s) {
    const auto row =
        s.first(QStringLiteral("Select value from tblZelorSystemParameters Where ID=5020"));
    if (!row || row->isNull(u"value")) return -1;
    return static_cast<int>(Val(row->text(u"value")));
}

bool BirthdayWithin(const QString& farsiBirthDate, const QDate& today, int days) {
    const QStringList parts = farsiBirthDate.trimmed().split(QLatin1Char('/'));
    if (days < 0 || parts.size() != 3 || !today.isValid()) return false;
    bool monthOk = false;
    bool dayOk = false;
    const int month = parts[1].toInt(&monthOk);
    const int day = parts[2].toInt(&dayOk);
    if (!monthOk || !dayOk) return false;
    const int year = JalaliOf(today).year;
    for (int y : {year, year - 1}) {
        QDate birthday = FromJalali(y, month, day);
        if (!birthday.isValid() && month == 12 && day == 30) birthday = FromJalali(y, 12, 29);
        if (!birthday.isValid()) continue;
        const qint64 since = birthday.daysTo(today);
        if (since >= 0 && since <= days) return true;
    }
    return false;
}

bool CustomerHadBirthday(Session& s, int customerId, const QDate& today, int days) {
    if (customerId < 1 || days < 0) return false;
    const auto row =
        s.first(QStringLiteral("select ID, FarsiBirthDate from tblOrganization where ID = ?"),
                {customerId});
    return row && BirthdayWithin(row->text(u"FarsiBirthDate"), today, days);
}

// ---- reading ---------------------------------------------------------------------------------

GoodDiscountRates::GoodDiscountRates(Session& s, const Request& request) {
    QStringList barcodes;
    QSet<QString> seen;
    for (const QString& b : request.barcodes)
        if (!key(b).isEmpty() && !seen.contains(key(b))) {
            seen.insert(key(b));
            barcodes << key(b);
        }
    const bool cards = request.cardType > 0;
    const bool birthday = cards && request.birthday;
    if (!cards && !request.standard) return;
    for (qsizetype i = 0; i < barcodes.size(); i += kSlice) {
        const QStringList slice = barcodes.mid(i, kSlice);
        readGoods(s, slice);
        if (request.standard) readPriceLists(s, slice);
        if (cards) {
            readRowsByBarcode(s, QStringLiteral("tblCRMGoodDiscount"), request.cardType, slice,
                              card_);
            if (birthday)
                readRowsByBarcode(s, QStringLiteral("tblCRMBirthDayGoodDiscount"), request.cardType,
                                  slice, birthday_);
        }
    }
    if (!cards) return;
    QVector<int> groups;
    for (int g : std::as_const(groupOf_))
        if (!groups.contains(g)) groups << g;
    readAncestors(s, groups);
    QVector<int> all = groups;
    for (const QVector<int>& line : std::as_const(ancestorsOf_))
        for (int a : line)
            if (!all.contains(a)) all << a;
    readRowsByGroup(s, QStringLiteral("tblCRMGoodDiscount"), request.cardType, all, card_);
    if (birthday)
        readRowsByGroup(s, QStringLiteral("tblCRMBirthDayGoodDiscount"), request.cardType, all,
                        birthday_);
}

void GoodDiscountRates::readGoods(Session& s, const QStringList& slice) {
    const RowSet rows =
        s.query(QStringLiteral("select Barcode, GoodGroupID, StandardDiscountPercent, "
                               "StandardDiscountValue from tblGood where Barcode in (") +
                    placeholders(slice.size()) + QStringLiteral(") order by ID"),
                paramsOf(slice));
    for (const Row& r : rows) {
        const QString b = key(r.text(u"Barcode"));
        if (groupOf_.contains(b)) continue;
        groupOf_.insert(b, r.toInt(u"GoodGroupID", -1));
        Standard st;
        if (!r.isNull(u"StandardDiscountPercent"))
            st.percent = r.toDouble(u"StandardDiscountPercent");
        if (!r.isNull(u"StandardDiscountValue")) st.value = r.money(u"StandardDiscountValue");
        standardOf_.insert(b, st);
    }
}

void GoodDiscountRates::readPriceLists(Session& s, const QStringList& slice) {
    const RowSet rows = s.query(
        QStringLiteral("select Barcode, PricingMethodID, coalesce(IsDiscountInPercent,1) as "
                       "IsDiscountInPercent, coalesce(DiscountPercent,0) as DiscountPercent, "
                       "coalesce(DiscountValue,0) as DiscountValue from tblGoodSaleInfo where "
                       "Barcode in (") +
            placeholders(slice.size()) + QStringLiteral(") order by ID"),
        paramsOf(slice));
    for (const Row& r : rows) {
        const QString k = priceListKey(r.text(u"Barcode"), r.toInt(u"PricingMethodID"));
        if (priceListOf_.contains(k)) continue;
        priceListOf_.insert(k, {r.toBool(u"IsDiscountInPercent"), r.toDouble(u"DiscountPercent"),
                                r.money(u"DiscountValue")});
    }
}

// A NULL level sorts first, as it did on the original server.
void GoodDiscountRates::readAncestors(Session& s, const QVector<int>& groups) {
    for (qsizetype i = 0; i < groups.size(); i += kSlice) {
        const QVector<int> slice = groups.mid(i, kSlice);
        const RowSet rows = s.query(
            QStringLiteral("select ChildID, ID from tblGoodGroupParent where ChildID in (") +
                placeholders(slice.size()) +
                QStringLiteral(") order by ChildID, case when NoLevel is null then 0 else 1 end, "
                               "NoLevel, ID"),
            paramsOf(slice));
        for (const Row& r : rows)
            ancestorsOf_[r.toInt(u"ChildID")] << r.toInt(u"ID");
    }
}

void GoodDiscountRates::readRowsByBarcode(Session& s, const QString& table, int cardType,
                                          const QStringList& slice, Rows& rows) {
    const RowSet found = s.query(QStringLiteral("select Barcode, DiscountPercent from ") + table +
                                     QStringLiteral(" where CardTypeID=? and Barcode in (") +
                                     placeholders(slice.size()) + QStringLiteral(") order by ID"),
                                 Params{cardType} + paramsOf(slice));
    for (const Row& r : found)
        keepFirst(rows.byBarcode, key(r.text(u"Barcode")), r);
}

void GoodDiscountRates::readRowsByGroup(Session& s, const QString& table, int cardType,
                                        const QVector<int>& groups, Rows& rows) {
    for (qsizetype i = 0; i < groups.size(); i += kSlice) {
        const QVector<int> slice = groups.mid(i, kSlice);
        const RowSet found =
            s.query(QStringLiteral("select GoodGroupID, DiscountPercent from ") + table +
                        QStringLiteral(" where CardTypeID=? and GoodGroupID in (") +
                        placeholders(slice.size()) + QStringLiteral(") order by ID"),
                    Params{cardType} + paramsOf(slice));
        for (const Row& r : found)
            keepFirst(rows.byGroup, r.toInt(u"GoodGroupID"), r);
    }
}

// ---- answers ---------------------------------------------------------------------------------

double GoodDiscountRates::percentOf(const Rows& rows, const QString& barcode) const {
    const QString b = key(barcode);
    if (auto own = rows.byBarcode.constFind(b); own != rows.byBarcode.constEnd())
        return clampPercent(*own);
    const auto group = groupOf_.constFind(b);
    if (group == groupOf_.constEnd()) return 0;
    if (auto g = rows.byGroup.constFind(*group); g != rows.byGroup.constEnd())
        return clampPercent(*g);
    for (int ancestor : ancestorsOf_.value(*group))
        if (auto a = rows.byGroup.constFind(ancestor); a != rows.byGroup.constEnd())
            return clampPercent(*a);
    return 0;
}

double GoodDiscountRates::cardPercent(const QString& barcode) const {
    return percentOf(card_, barcode);
}

double GoodDiscountRates::birthdayPercent(const QString& barcode) const {
    return percentOf(birthday_, barcode);
}

bool GoodDiscountRates::hasStandardDiscounts(const QString& barcode, int pricingMethod) const {
    const auto st = standardOf_.constFind(key(barcode));
    if (st == standardOf_.constEnd()) return false;  // no such goods: the statement had no row
    const PriceListDiscount list = priceListOf_.value(priceListKey(barcode, pricingMethod));
    return list.percent > 0 || list.value > Money() || st->percent.value_or(0) > 0 ||
           st->value.value_or(Money()) > Money();
}

double GoodDiscountRates::standardPercent(const QString& barcode, int pricingMethod,
                                          Money gross) const {
    const auto ofGross = [&](Money value) {
        return gross > Money() ? RoundHalfUpPercent(value.toDouble() * 100 / gross.toDouble(), 2)
                               : 0.0;
    };
    const auto list = priceListOf_.constFind(priceListKey(barcode, pricingMethod));
    if (list != priceListOf_.constEnd())
        return clampPercent(list->inPercent ? list->percent : ofGross(list->value));
    const Standard st = standardOf_.value(key(barcode));
    if (st.percent) return clampPercent(*st.percent);
    if (st.value) return clampPercent(ofGross(*st.value));
    return 0;
}

}  // namespace si

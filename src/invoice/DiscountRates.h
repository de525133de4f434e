#pragma once
// The card, birthday and standard discounts of a set of goods, read together with a fixed number
// of statements per few hundred barcodes, so that one line and a whole invoice take the same
// path and give the same answers.
//
// A card (or birthday) percent is looked up in this order, the first row found giving the percent
// clamped to 0..100: a row of the barcode and card type; a row of the goods' group; a row of the
// nearest ancestor group (lowest tblGoodGroupParent.NoLevel). Nothing found gives 0. Barcodes are
// compared as they are stored, blanks around them ignored.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "common/Session.h"

namespace si {

// Days after the birthday during which the birthday discount holds: parameter 5020 read from
// its row; -1 when the row is missing or NULL, which turns the birthday discount off.
int BirthdayDiscountDays(Session& s);

// Whether a birthday (Jalali "yyyy/mm/dd") fell 0..days days before today, its month and day taken
// in today's Jalali year or in the year before (so a birthday late in Esfand still counts in
// Farvardin). Esfand 30 stands for the last day of Esfand in a year without it.
bool BirthdayWithin(const QString& farsiBirthDate, const QDate& today, int days);

// The customer's birthday (tblOrganization.FarsiBirthDate) lies within the window.
bool CustomerHadBirthday(Session& s, int customerId, const QDate& today, int days);

class GoodDiscountRates {
public:
    struct Request {
        QStringList barcodes;
        int cardType = -1;      // no card rows are read when it is below 1
        bool birthday = false;  // read the birthday rows (the customer is within the window)
        bool standard = false;  // read the standard discounts (price lists and goods)
    };
    GoodDiscountRates() = default;
    GoodDiscountRates(Session& s, const Request& request);

    double cardPercent(const QString& barcode) const;
    double birthdayPercent(const QString& barcode) const;
    // Any standard discount of the goods under the method: the price list's percent or value, or
    // the goods' own StandardDiscountPercent or StandardDiscountValue.
    bool hasStandardDiscounts(const QString& barcode, int pricingMethod) const;
    // The discount pricing gives the goods under the method, as a percent of the line's gross
    // amount: the price list's row when there is one, else the goods' own standard discount.
    double standardPercent(const QString& barcode, int pricingMethod, Money gross) const;

private:
    struct Standard {
        std::optional<double> percent;
        std::optional<Money> value;
    };
    struct PriceListDiscount {
        bool inPercent = true;
        double percent = 0;
        Money value;
    };
    struct Rows {
        QHash<QString, double> byBarcode;
        QHash<int, double> byGroup;
    };

    void readGoods(Session& s, const QStringList& slice);
    void readPriceLists(Session& s, const QStringList& slice);
    void readAncestors(Session& s, const QVector<int>& groups);
    static void readRowsByBarcode(Session& s, const QString& table, int cardType,
                                  const QStringList& slice, Rows& rows);
    static void readRowsByGroup(Session& s, const QString& table, int cardType,
                                const QVector<int>& groups, Rows& rows);
    double percentOf(const Rows& rows, const QString& barcode) const;

    QHash<QString, int> groupOf_;
    QHash<int, QVector<int>> ancestorsOf_;  // nearest first
    QHash<QString, Standard> standardOf_;
    QHash<QString, PriceListDiscount> priceListOf_;  // barcode|method
    Rows card_;
    Rows birthday_;
};

}  // namespace si

#pragma once
// The discount and promotion logic on the line fixture: customers with cards and birthdays, card
// and birthday discount rows, goods groups with their ancestors, and promotions with their lists.
// The stock rule is off unless a test switches it on.

#include <gtest/gtest.h>

#include "common/Jalali.h"
#include "invoice/DiscountLogic.h"
#include "invoice/LinesTestSupport.h"
#include "invoice/TotalsLogic.h"

namespace si::test {

// A promotion detail as a test states it; zero or false fields stay NULL or unset.
struct PromotionTerms {
    int sequence = 1;
    int priority = 1;
    QString notes;
    double discountPercent = 0;
    double discountQty = 0;
    int discountScale = -1;
    double qty = 0;
    int scale = -1;
    int rowMin = 0;
    int rowMax = 0;
    int negativeFix = 0;
    qint64 valueFrom = 0;
    qint64 valueTo = 0;
    bool composite = false;
    bool cheapest = false;
    bool others = false;
    bool self = false;
    bool over = false;
};

class DiscountTest : public LinesTest {
protected:
    void SetUp() override {
        LinesTest::SetUp();
        stockRule(0);
        doc->chkIsFormal = false;
    }

    DiscountLogic& discounts() { return *services->discounts; }

    int cardType(const QString& name) {
        return insert(QStringLiteral("insert into tblCRMCardType (Name) values (?) RETURNING ID"),
                      {name});
    }
    // A customer born on the Jalali day, holding a card of the type (none when below 1).
    int customer(const QString& farsiBirthDate, int type = -1, qint64 grade = 0) {
        const int id = AddCustomer(db(), QStringLiteral("مشتري"));
        db().exec(QStringLiteral("update tblOrganization set FarsiBirthDate=? where ID=?"),
                  {farsiBirthDate, id});
        if (type > 0) giveCard(id, type, grade);
        return id;
    }
    void giveCard(int customerId, int type, qint64 grade) {
        db().exec(QStringLiteral("insert into tblCRMOrganizationCard (OrganizationID, CardTypeID, "
                                 "TotalGrade) values (?,?,?)"),
                  {customerId, type, QVariant::fromValue(Money::fromRials(grade))});
    }
    // Chooses the customer and card type on the invoice without their change handlers.
    void useCustomer(int customerId, int type) {
        doc->sltCustomer.setIDQuietly(customerId, QStringLiteral("مشتري"));
        doc->sltCRMCardType.setIDQuietly(type, QStringLiteral("کارت"));
    }
    // Birthday today: within any window.
    QString birthdayToday() const {
        const JalaliParts j = JalaliOf(now.date());
        return QStringLiteral("1360/%1/%2")
            .arg(j.month, 2, 10, QLatin1Char('0'))
            .arg(j.day, 2, 10, QLatin1Char('0'));
    }
    // A card (or, with birthday set, birthday) discount row of a barcode or of a group.
    void cardDiscount(int type, const QVariant& barcode, const QVariant& group, double percent,
                      bool birthday = false) {
        db().exec(QStringLiteral("insert into ") +
                      (birthday ? QStringLiteral("tblCRMBirthDayGoodDiscount")
                                : QStringLiteral("tblCRMGoodDiscount")) +
                      QStringLiteral(" (Barcode, GoodGroupID, CardTypeID, DiscountPercent) "
                                     "values (?,?,?,?)"),
                  {barcode, group, type, percent});
    }
    int group(const QString& name) {
        return insert(QStringLiteral("insert into tblGoodGroup (Name) values (?) RETURNING ID"),
                      {name});
    }
    void ancestor(int child, int parent, int level) {
        db().exec(
            QStringLiteral("insert into tblGoodGroupParent (ID, ChildID, NoLevel) values (?,?,?)"),
            {parent, child, level});
    }
    void putInGroup(const QString& barcode, int groupId) {
        db().exec(QStringLiteral("update tblGood set GoodGroupID=? where Barcode=?"),
                  {groupId, barcode});
    }
    void standardDiscount(const QString& barcode, double percent) {
        db().exec(QStringLiteral("update tblGood set StandardDiscountPercent=? where Barcode=?"),
                  {percent, barcode});
    }

    // ---- promotions ----
    int promotion(const QDate& begin, const QDate& end) {
        return insert(
            QStringLiteral("insert into tblSalePromotion (Name, BeginDate, "
                           "FarsiBeginDate, EndDate, FarsiEndDate) values "
                           "(?,?,?,?,?) RETURNING ID"),
            {QStringLiteral("پروموشن"), begin, getFarsiDate(begin), end, getFarsiDate(end)});
    }
    // A promotion valid today with one detail.
    int promotion(const PromotionTerms& terms) {
        const int id = promotion(now.date().addDays(-5), now.date().addDays(5));
        detail(id, terms);
        return id;
    }
    void detail(int id, const PromotionTerms& x) {
        const auto orNull = [](double v) { return v != 0 ? QVariant(v) : QVariant(); };
        const auto amount = [](qint64 v) {
            return v != 0 ? QVariant::fromValue(Money::fromRials(v)) : QVariant();
        };
        const auto unit = [](int v) { return v > 0 ? QVariant(v) : QVariant(); };
        db().exec(
            QStringLiteral(
                "insert into tblSalePromotionDetail (PromotionID, Sequence, PriorityNo, Notes, "
                "DiscountQty, DiscountPercent, NegativeRowCountFix, PositiveRowCountMax, "
                "PositiveRowCountMin, ValueFrom, ValueTo, Qty, IsComposite, "
                "isDiscountCheapestOne, IsDiscountOtherGoods, IsDiscountGoodSelf, "
                "IsOverDiscount, DiscountScaleID, ScaleID) values "
                "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {id, x.sequence, x.priority, x.notes, orNull(x.discountQty), orNull(x.discountPercent),
             x.negativeFix, x.rowMax, x.rowMin, amount(x.valueFrom), amount(x.valueTo),
             orNull(x.qty), x.composite ? 1 : 0, x.cheapest ? 1 : 0, x.others ? 1 : 0,
             x.self ? 1 : 0, x.over ? 1 : 0, unit(x.discountScale), unit(x.scale)});
    }
    void promotedGood(int id, const QString& barcode, bool positive = true, int sequence = 1) {
        db().exec(QStringLiteral("insert into tblSalePromotionDetailGood (PromotionID, Sequence, "
                                 "Barcode, isPositive) values (?,?,?,?)"),
                  {id, sequence, barcode, positive ? 1 : 0});
    }
    void promotedGroup(int id, int groupId, bool positive = true, int sequence = 1) {
        db().exec(QStringLiteral("insert into tblSalePromotionDetailGoodGroup (PromotionID, "
                                 "Sequence, GoodGroupID, isPositive) values (?,?,?,?)"),
                  {id, sequence, groupId, positive ? 1 : 0});
    }
    void freeGood(int id, const QString& barcode, int sequence = 1) {
        db().exec(QStringLiteral("insert into tblSalePromotionDetailEchantillonGood "
                                 "(PromotionID, Sequence, Barcode) values (?,?,?)"),
                  {id, sequence, barcode});
    }

    // A line typed in directly: goods, quantity, unit price, own percent.
    int addLine(const QString& barcode, double qty, qint64 price, double percent = 0,
                int unit = -1) {
        InvoiceLine l;
        l.BarCode = barcode;
        l.GoodName = QStringLiteral("كالا ") + barcode;
        l.Qty = qty;
        l.ScaleID = unit > 0 ? unit : piece;
        l.UnitPrice = Money::fromRials(price);
        l.DiscountPercent = percent;
        const int row = grid().appendLine(l);
        services->totals->SyncLineDiscount(row, kDiscountAsPercent);
        services->totals->RecomputeRowSum(row);
        return row;
    }
    LineTableModel& ech() { return doc->flexEch; }
    QVector<int> freeRows() const { return doc->flexEch.filledRows(); }

    int insert(const QString& sql, const Params& params) {
        return static_cast<int>(db().insertReturningId(sql, params));
    }
};

}  // namespace si::test

// The past invoices of the demo, day by day over the history: cash sales at the counter and
// credit sales to the shops on the paths, most final with gap-free codes in date order, some
// left temporary. Lines are priced by the invoice's pricing method as the form prices them, and
// the header totals follow the form's arithmetic (line discounts, the master discount by
// invoice value, tax and duty, grand total rounded down to thousands). Dispatches, their links
// and the wholesale assignments are then derived from the stored invoices in a few statements.

#include <cmath>

#include "common/InvoiceSums.h"
#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

constexpr qint64 kQtyScale = 10000;  // quantities in ten-thousandths, as Money holds them
constexpr int kTaxPercent = 6;
constexpr int kAddedPercent = 3;
constexpr int kPostedPerKind = 6;

struct Line {
    int good = 0;  // index into DemoData::goods
    int scale = 0;
    qint64 qty = 0;  // ten-thousandths
    qint64 price = 0;
    int discountType = 1;  // 1 percent, 2 amount
    double discountPercent = 0;
    qint64 discount = 0;
    qint64 net = 0;
    qint64 tax = 0;
    qint64 added = 0;
};

struct Invoice {
    int id = 0;
    int code = 0;  // 0: temporary
    QDate day;
    int customer = 0;  // index into customers
    bool cash = true;
    int typeId = id::kNormalType;
    int inventoryId = id::kMainInventory;
    int creatorId = id::kCashierUser;
    int pricingMethodId = id::kRetailMethod;
    int preConditionId = id::kPreCash;
    bool formal = true;
    std::vector<Line> lines;
    DemoData::PostedInvoice totals;
};

int branchOf(int inventory) {
    return inventory == id::kMainInventory      ? id::kMainShop
           : inventory == id::kIsfahanInventory ? id::kIsfahanBranch
                                                : id::kHeadOffice;
}

int employeeOf(int user) {
    return user == id::kAdminUser   ? id::kAdminEmployee
           : user == id::kClerkUser ? id::kClerkEmployee
                                    : id::kCashierEmployee;
}

qint64 roundHalfUp(qint64 numerator, qint64 denominator) {
    return (numerator + denominator / 2) / denominator;
}

// The master discount percent the clerks gave the past invoices, by their value.
int masterPercentOf(qint64 totalPrice) {
    return totalPrice < 10'000'000 ? 0 : totalPrice < 50'000'000 ? 2 : 3;
}

class InvoiceMaker {
public:
    explicit InvoiceMaker(DemoData& d)
        : d_(d),
          rng_(d.options.seed, 8),
          headers_(d.session, QStringLiteral("tblSaleInvoice"),
                   {QStringLiteral("ID"),
                    QStringLiteral("Code"),
                    QStringLiteral("InvoiceType"),
                    QStringLiteral("TypeID"),
                    QStringLiteral("CustomerID"),
                    QStringLiteral("InventoryID"),
                    QStringLiteral("BranchID"),
                    QStringLiteral("DeliverTypeID"),
                    QStringLiteral("IntroductionTypeID"),
                    QStringLiteral("PricingMethodID"),
                    QStringLiteral("PreConditionID"),
                    QStringLiteral("IsPaidByCash"),
                    QStringLiteral("IsFromDispatch"),
                    QStringLiteral("PromoterID"),
                    QStringLiteral("AchieverID"),
                    QStringLiteral("DistributerID"),
                    QStringLiteral("CreatorID"),
                    QStringLiteral("CreatorEmployeeID"),
                    QStringLiteral("CreateDate"),
                    QStringLiteral("FarsiCreateDate"),
                    QStringLiteral("ClearDate"),
                    QStringLiteral("FarsiClearDate"),
                    QStringLiteral("IsFormal"),
                    QStringLiteral("IsCheckEchantillon"),
                    QStringLiteral("ShouldSMSSend"),
                    QStringLiteral("Notes"),
                    QStringLiteral("CustomerMessage"),
                    QStringLiteral("DiscountTypeID"),
                    QStringLiteral("DiscountPercent"),
                    QStringLiteral("DiscountValue"),
                    QStringLiteral("SuchargeValue"),
                    QStringLiteral("ShortageValue"),
                    QStringLiteral("Value"),
                    QStringLiteral("TotalValue"),
                    QStringLiteral("PureTotalValue"),
                    QStringLiteral("PrintCount")}),
          lines_(d.session, QStringLiteral("tblSaleInvoiceDetail"),
                 {QStringLiteral("ID"), QStringLiteral("InvoiceID"), QStringLiteral("RowNumber"),
                  QStringLiteral("Barcode"), QStringLiteral("ScaleID"), QStringLiteral("Qty"),
                  QStringLiteral("RetailPrice"), QStringLiteral("DiscountTypeID"),
                  QStringLiteral("DiscountPercent"), QStringLiteral("DiscountValue"),
                  QStringLiteral("TaxValue"), QStringLiteral("AddedValue"),
                  QStringLiteral("PricingMethodID")}),
          surcharges_(d.session, QStringLiteral("tblSaleInvoiceSucharge"),
                      {QStringLiteral("ID"), QStringLiteral("InvoiceID"),
                       QStringLiteral("SuchargeTypeID"), QStringLiteral("Value")}) {
        shops_.reserve(d.customers.size());
        for (size_t i = 1; i < d.customers.size(); ++i)
            (d.customers[i].isShop ? shops_ : persons_).push_back(static_cast<int>(i));
        d.soldInMain.assign(d.goods.size(), 0);
        d.soldInIsfahan.assign(d.goods.size(), 0);
    }

    void makeAll() {
        const std::vector<int> perDay = invoicesPerDay();
        for (size_t day = 0; day < perDay.size(); ++day) {
            const QDate date = d_.historyStart.addDays(static_cast<qint64>(day));
            for (int k = 0; k < perDay[day]; ++k)
                make(date);
        }
        headers_.finish();
        lines_.finish();
        surcharges_.finish();
    }

private:
    // Invoices per day from the first day of the history to today: fewer on Fridays, a little
    // more on Thursdays, and only this morning's few drafts today.
    std::vector<int> invoicesPerDay() const {
        const QDate today = d_.calendar.today();
        std::vector<int> weights;
        for (QDate day = d_.historyStart; day <= today; day = day.addDays(1))
            weights.push_back(day == today           ? 2
                              : day.dayOfWeek() == 5 ? 5
                              : day.dayOfWeek() == 4 ? 12
                                                     : 10);
        qint64 sum = 0;
        for (int w : weights)
            sum += w;
        std::vector<int> counts(weights.size());
        qint64 given = 0;
        qint64 carried = 0;
        for (size_t i = 0; i < weights.size(); ++i) {
            carried += qint64(d_.options.invoices) * weights[i];
            const qint64 upTo = carried / sum;
            counts[i] = static_cast<int>(upTo - given);
            given = upTo;
        }
        return counts;
    }

    bool isTemporary(const QDate& day) {
        const qint64 ago = day.daysTo(d_.calendar.today());
        if (ago == 0) return true;
        return rng_.chance(ago <= 3 ? 20 : 2);
    }

    void make(const QDate& day) {
        Invoice inv;
        inv.id = ++lastId_;
        inv.day = day;
        inv.code = isTemporary(day) ? 0 : ++lastCode_;
        chooseHeader(inv);
        addLines(inv);
        total(inv);
        write(inv);
        remember(inv);
        if (inv.id % 100000 == 0)
            d_.progress(QStringLiteral("فاکتورها: %1 از %2").arg(inv.id).arg(d_.options.invoices));
    }

    void chooseHeader(Invoice& inv) {
        inv.cash = shops_.empty() || rng_.chance(65);
        inv.formal = rng_.chance(90);
        if (inv.cash) {
            inv.customer = persons_.empty() || rng_.chance(55) ? 0 : rng_.pick(persons_);
            inv.creatorId = rng_.chance(80) ? id::kCashierUser : id::kAdminUser;
            inv.preConditionId = id::kPreCash;
        } else {
            inv.customer = rng_.pick(shops_);
            inv.creatorId = rng_.chance(85) ? id::kClerkUser : id::kAdminUser;
            inv.preConditionId = rng_.between(id::kPreCheque30, 4);
            const int roll = rng_.below(100);
            inv.typeId = roll < 3    ? id::kWholesaleType
                         : roll < 10 ? id::kPartnerType
                                     : id::kNormalType;
            const DemoCustomer& c = d_.customers[static_cast<size_t>(inv.customer)];
            inv.inventoryId = inv.typeId == id::kWholesaleType   ? id::kWholesaleInventory
                              : c.branchId == id::kIsfahanBranch ? id::kIsfahanInventory
                                                                 : id::kMainInventory;
        }
        const DemoCustomer& c = d_.customers[static_cast<size_t>(inv.customer)];
        inv.pricingMethodId = c.pricingMethodId > 0 ? c.pricingMethodId : id::kRetailMethod;
    }

    // A goods item, the best sellers more often: the square of a uniform draw leans to the top.
    int drawGood() {
        const auto u = static_cast<std::uint64_t>(rng_.below(65536));
        const auto rank = (u * u * d_.popular.size()) >> 32;
        return d_.popular[static_cast<size_t>(rank)];
    }

    void addLines(Invoice& inv) {
        const int average = std::max(1, d_.options.linesPerInvoice);
        const int wanted =
            std::min<int>(rng_.between(1, 2 * average - 1), static_cast<int>(d_.goods.size()));
        for (int tries = 0; static_cast<int>(inv.lines.size()) < wanted && tries < 4 * wanted;
             ++tries) {
            const int good = drawGood();
            const DemoGood& g = d_.goods[static_cast<size_t>(good)];
            if (inv.inventoryId == id::kMainInventory && g.notForSaleInMain) continue;
            // A goods item stands once on a line of its unit; the demo keeps to one line each.
            if (std::any_of(inv.lines.begin(), inv.lines.end(),
                            [&](const Line& l) { return l.good == good; }))
                continue;
            inv.lines.push_back(lineOf(inv, good));
        }
    }

    Line lineOf(const Invoice& inv, int good) {
        const DemoGood& g = d_.goods[static_cast<size_t>(good)];
        Line l;
        l.good = good;
        l.scale = g.scaleId;
        const bool wholesale = inv.typeId == id::kWholesaleType;
        if (g.weighed) {
            l.qty = kQtyScale / 4 * rng_.between(1, wholesale ? 200 : 20);
        } else if (!g.packs.empty() && rng_.chance(wholesale ? 60 : 15)) {
            l.scale = rng_.pick(g.packs);
            l.qty = kQtyScale * rng_.between(1, wholesale ? 20 : 3);
        } else {
            const int roll = rng_.below(100);
            const int n = wholesale   ? rng_.between(12, 120)
                          : roll < 55 ? 1
                          : roll < 80 ? 2
                                      : rng_.between(3, 6);
            l.qty = kQtyScale * n;
        }
        price(inv, g, l);
        return l;
    }

    // Price and discount as goods entry takes them: the method's row, else tblGood's own.
    void price(const Invoice& inv, const DemoGood& g, Line& l) const {
        const Pricing& byMethod = g.byMethod[static_cast<size_t>(inv.pricingMethodId)];
        const Pricing& p = byMethod.present ? byMethod : g.general;
        l.price = p.price * static_cast<qint64>(d_.factorOfScale[static_cast<size_t>(l.scale)]);
        const qint64 gross = l.price * l.qty / kQtyScale;
        if (p.inPercent) {
            l.net = gross * (1000 - p.discountTenths) / 1000;
            l.discountPercent = p.discountTenths / 10.0;
        } else {
            l.discountType = 2;
            l.net = gross - std::min(p.discountValue, gross);
            // The percent the form derives from an amount, to two decimals.
            const double share =
                double(gross - l.net) * 100.0 * kQtyScale / double(l.price * l.qty);
            l.discountPercent = std::round(share * 100) / 100;
        }
        l.discount = gross - l.net;
        if (!inv.formal) return;
        TaxOverride t{g.hasTax, g.hasAdded, kTaxPercent, kAddedPercent};
        if (g.taxOverride >= 0) t = d_.taxOverrides[static_cast<size_t>(g.taxOverride)];
        l.tax = t.hasTax ? l.net * t.taxPercent / 100 : 0;
        l.added = t.hasAdded ? l.net * t.addedPercent / 100 : 0;
    }

    void total(Invoice& inv) {
        DemoData::PostedInvoice& t = inv.totals;
        for (const Line& l : inv.lines) {
            t.totalPrice += l.net;
            t.rowDiscount += l.discount;
            t.tax += l.tax;
            t.added += l.added;
        }
        const int percent = masterPercentOf(t.totalPrice);
        t.masterDiscount = roundHalfUp(roundHalfUp(t.totalPrice * percent, 100), 1000) * 1000;
        if (!inv.cash && rng_.chance(5)) t.surcharge = 10'000 * rng_.between(50, 300);
        const qint64 grand = t.totalPrice + t.surcharge - t.masterDiscount + t.tax + t.added;
        // Parameter 4409 is "3-": down to whole thousands.
        t.roundDown = grand > 0 ? grand % 1000 : 0;
        t.grandTotal = grand - t.roundDown;
    }

    void write(const Invoice& inv) {
        const DemoCustomer& c = d_.customers[static_cast<size_t>(inv.customer)];
        const DemoData::PostedInvoice& t = inv.totals;
        const int clearDays = inv.cash ? 0 : 30 * (inv.preConditionId - 1);
        const QDate clear = inv.day.addDays(clearDays);
        const qint64 value = t.grandTotal - t.tax - t.added;
        const QVariant noId;
        headers_.add({inv.id,
                      inv.code > 0 ? QVariant(inv.code) : noId,
                      1,
                      inv.typeId,
                      c.id,
                      inv.inventoryId,
                      branchOf(inv.inventoryId),
                      inv.cash ? id::kDeliverAtShop : rng_.between(2, 4),
                      c.introductionTypeId > 0 ? QVariant(c.introductionTypeId) : noId,
                      inv.pricingMethodId,
                      inv.preConditionId,
                      Flag(inv.cash),
                      0,
                      c.promoterId > 0 ? QVariant(c.promoterId) : noId,
                      !inv.cash && c.achieverId > 0 ? QVariant(c.achieverId) : noId,
                      !inv.cash && c.distributerId > 0 ? QVariant(c.distributerId) : noId,
                      inv.creatorId,
                      employeeOf(inv.creatorId),
                      d_.calendar.date(inv.day),
                      d_.calendar.farsi(inv.day),
                      d_.calendar.date(clear),
                      d_.calendar.farsi(clear),
                      Flag(inv.formal),
                      0,
                      Flag(!inv.cash && rng_.chance(30)),
                      rng_.chance(5) ? QVariant(note()) : noId,
                      rng_.chance(70) ? QVariant(QStringLiteral("از خريد شما سپاسگزاريم")) : noId,
                      3,
                      double(masterPercentOf(t.totalPrice)),
                      Rials(t.masterDiscount),
                      Rials(t.surcharge),
                      Rials(0),
                      Rials(value),
                      Rials(t.grandTotal),
                      Rials(value),
                      inv.code > 0 ? rng_.between(0, 2) : 0});
        int row = 0;
        for (const Line& l : inv.lines) {
            lines_.add({++lastLineId_, inv.id, ++row, d_.goods[static_cast<size_t>(l.good)].barcode,
                        l.scale, Amount(Money::fromRaw(l.qty)), Rials(l.price), l.discountType,
                        l.discountPercent, Rials(l.discount), Rials(l.tax), Rials(l.added),
                        inv.pricingMethodId});
        }
        if (t.surcharge > 0)
            surcharges_.add(
                {++lastSurchargeId_, inv.id, id::kTransportSurcharge, Rials(t.surcharge)});
    }

    QString note() {
        static const QStringList notes{QStringLiteral("ارسال فوري"),
                                       QStringLiteral("تحويل درب انبار"),
                                       QStringLiteral("با هماهنگي تلفني ارسال شود"),
                                       QStringLiteral("مشتري فاکتور رسمي خواسته است")};
        return rng_.pick(notes);
    }

    void remember(const Invoice& inv) {
        if (inv.code > 0 && inv.typeId != id::kWholesaleType) {
            std::vector<double>& sold =
                inv.inventoryId == id::kIsfahanInventory ? d_.soldInIsfahan : d_.soldInMain;
            for (const Line& l : inv.lines)
                sold[static_cast<size_t>(l.good)] +=
                    double(l.qty) / kQtyScale * d_.factorOfScale[static_cast<size_t>(l.scale)];
        }
        if (inv.code == 0 || inv.typeId != id::kNormalType) return;
        const DemoCustomer& c = d_.customers[static_cast<size_t>(inv.customer)];
        const bool inTurn =
            inv.creatorId == id::kCashierUser && d_.cashTurnOfDay.contains(inv.day.toJulianDay());
        int& taken = inv.cash ? postedCash_ : postedCredit_;
        if (taken >= kPostedPerKind || c.hasDependents || (inv.cash && !inTurn)) return;
        ++taken;
        DemoData::PostedInvoice p = inv.totals;
        p.id = inv.id;
        p.code = inv.code;
        p.date = inv.day;
        p.customer = inv.customer;
        p.promoterId = c.promoterId;
        p.branchId = branchOf(inv.inventoryId);
        p.typeId = inv.typeId;
        p.cash = inv.cash;
        d_.posted.push_back(p);
    }

    DemoData& d_;
    Rng rng_;
    BulkInsert headers_;
    BulkInsert lines_;
    BulkInsert surcharges_;
    std::vector<int> shops_;
    std::vector<int> persons_;
    int lastId_ = 0;
    int lastCode_ = 0;
    int lastLineId_ = 0;
    int lastSurchargeId_ = 0;
    int postedCash_ = 0;
    int postedCredit_ = 0;
};

// One dispatch per final invoice of a type that takes its goods out of stock, numbered per
// inventory in date order, with its lines and its link to the invoice.
void deriveDispatches(DemoData& d) {
    Session& s = d.session;
    s.exec(QStringLiteral(
               "INSERT INTO tblInventoryDispatch (ID, Code, InventoryID, CreatorID, ReceiveDate, "
               "FarsiReceiveDate, SenderEmployeeID, ReceiverEmployeeID, RelatedClassID, "
               "RelatedOrganizationID, TypeID, FormID, FormTypeID, CreateDate, FarsiCreateDate, "
               "Notes, BranchID) "
               "SELECT ROW_NUMBER() OVER (ORDER BY s.ID), "
               "ROW_NUMBER() OVER (PARTITION BY s.InventoryID ORDER BY s.CreateDate, s.ID), "
               "s.InventoryID, s.CreatorID, s.CreateDate, s.FarsiCreateDate, i.ResponsibleID, "
               "s.PromoterID, 7, s.CustomerID, t.DispatchTypeID, s.ID, 901, s.CreateDate, "
               "s.FarsiCreateDate, CAST(? AS VARCHAR(200)) || CAST(s.ID AS VARCHAR(20)), "
               "s.BranchID "
               "FROM tblSaleInvoice s "
               "INNER JOIN tblSaleInvoiceType t ON t.ID = s.TypeID "
               "LEFT JOIN tblInventory i ON i.ID = s.InventoryID "
               "WHERE s.Code IS NOT NULL AND coalesce(t.GenerateSaleAssignment, 0) = 0 "
               "ORDER BY s.ID"),
           {QStringLiteral("سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانه اي ")});
    s.exec(QStringLiteral(
        "INSERT INTO tblInventoryDispatchDetail (ID, DispatchID, RowNumber, Barcode, Qty, "
        "ScaleID, ScaleQty, Description) "
        "SELECT ROW_NUMBER() OVER (ORDER BY d.ID), x.ID, d.RowNumber, d.Barcode, d.Qty, "
        "d.ScaleID, d.Qty, '' "
        "FROM tblSaleInvoiceDetail d "
        "INNER JOIN tblInventoryDispatch x ON x.FormTypeID = 901 AND x.FormID = d.InvoiceID "
        "ORDER BY d.ID"));
    s.exec(QStringLiteral(
        "INSERT INTO tblZelorRelatedForms (ID, ReferenceFormID, ReferenceFormTypeID, "
        "RelatedFormID, RelatedFormTypeID, CreatorID, CreateDate, FarsiCreateDate) "
        "SELECT x.ID, x.FormID, 901, x.ID, 802, x.CreatorID, x.CreateDate, "
        "x.FarsiCreateDate FROM tblInventoryDispatch x ORDER BY x.ID"));
}

// A wholesale invoice is followed by a sale assignment instead of a dispatch.
void deriveAssignments(DemoData& d) {
    d.session.exec(
        QStringLiteral("INSERT INTO tblSaleAssignment (ID, Code, SaleInvoiceID, InventoryID, "
                       "CreatorID, CreateDate, FarsiCreateDate, Notes) "
                       "SELECT ROW_NUMBER() OVER (ORDER BY s.ID), "
                       "ROW_NUMBER() OVER (ORDER BY s.CreateDate, s.ID), s.ID, s.InventoryID, "
                       "s.CreatorID, s.CreateDate, s.FarsiCreateDate, CAST(? AS VARCHAR(200)) "
                       "FROM tblSaleInvoice s INNER JOIN tblSaleInvoiceType t ON t.ID = s.TypeID "
                       "WHERE s.Code IS NOT NULL AND coalesce(t.GenerateSaleAssignment, 0) = 1 "
                       "ORDER BY s.ID"),
        {QStringLiteral("حواله فروش عمده")});
}

}  // namespace

void FillInvoices(DemoData& d) {
    d.progress(QStringLiteral("فاکتورهاي گذشته: %1").arg(d.options.invoices));
    IndexesSetAside invoiceIndexes(d.session, {QStringLiteral("tblSaleInvoiceDetail")});
    InvoiceMaker(d).makeAll();
    invoiceIndexes.restore();
    // The stored sums from the stored lines, by the statement every writer uses.
    RefreshAllInvoiceSums(d.session);
    d.progress(QStringLiteral("برگه هاي خروج و حواله هاي فروش"));
    // The dispatches' own index on their invoice stays: the lines find their dispatch by it.
    IndexesSetAside dispatchIndexes(
        d.session, {QStringLiteral("tblInventoryDispatchDetail"),
                    QStringLiteral("tblZelorRelatedForms"), QStringLiteral("tblSaleAssignment")});
    deriveDispatches(d);
    deriveAssignments(d);
    dispatchIndexes.restore();
}

}  // namespace si::erpdb::demo

// Inventories of the demo (two sale-level stores, a wholesale store over two halls, a closed
// one) and the opening receipts that give every goods item its stock: written after the past
// invoices, dated before them, so that they cover everything sold and leave some on hand.

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

constexpr int kLinesPerReceipt = 500;
constexpr int kPurchase = 1;  // receipt type

class ReceiptWriter {
public:
    explicit ReceiptWriter(DemoData& d)
        : d_(d),
          headers_(d.session, QStringLiteral("tblInventoryReceipt"),
                   {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("InventoryID"),
                    QStringLiteral("TypeID"), QStringLiteral("CreatorID"),
                    QStringLiteral("ReceiveDate"), QStringLiteral("FarsiReceiveDate"),
                    QStringLiteral("CreateDate"), QStringLiteral("FarsiCreateDate"),
                    QStringLiteral("BranchID"), QStringLiteral("Notes")}),
          lines_(d.session, QStringLiteral("tblInventoryReceiptDetail"),
                 {QStringLiteral("ID"), QStringLiteral("ReceiptID"), QStringLiteral("RowNumber"),
                  QStringLiteral("Barcode"), QStringLiteral("Qty"), QStringLiteral("ScaleID"),
                  QStringLiteral("ScaleQty")}) {}

    void receive(int inventory, int branch, const DemoGood& g, double baseQty) {
        if (inventory != inventory_ || row_ == kLinesPerReceipt) open(inventory, branch);
        const QVariant qty = Amount(Money::fromDouble(baseQty));
        lines_.add({++lineId_, receiptId_, ++row_, g.barcode, qty, g.scaleId, qty});
    }

    void finish() {
        headers_.finish();
        lines_.finish();
    }

private:
    void open(int inventory, int branch) {
        inventory_ = inventory;
        row_ = 0;
        ++receiptId_;
        const int code = ++codes_[inventory];
        // The opening stock arrives the day before the first past invoice.
        const QDate day = d_.historyStart.addDays(-1);
        headers_.add({receiptId_, code, inventory, kPurchase, id::kAdminUser, d_.calendar.date(day),
                      d_.calendar.farsi(day), d_.calendar.date(day), d_.calendar.farsi(day), branch,
                      QStringLiteral("موجودي اول دوره")});
    }

    DemoData& d_;
    BulkInsert headers_;
    BulkInsert lines_;
    QHash<int, int> codes_;
    int inventory_ = 0;
    int receiptId_ = 0;
    int lineId_ = 0;
    int row_ = 0;
};

// What is left on hand after the sales: a few cartons of counted goods, some kilos of produce.
double onHand(const DemoGood& g, Rng& rng) {
    return g.weighed ? 0.25 * rng.between(40, 400) : rng.between(20, 240);
}

}  // namespace

void FillInventories(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblInventory"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                     QStringLiteral("ParentID"), QStringLiteral("StatusTypeID"),
                     QStringLiteral("ResponsibleID"), QStringLiteral("CheckExistance"),
                     QStringLiteral("BranchID"), QStringLiteral("IsActive")});
    rows.add({id::kMainInventory, QStringLiteral("01"), QStringLiteral("انبار فروشگاه مرکزي"),
              Null(), 1, id::kClerkEmployee, 1, id::kMainShop, 1});
    rows.add({id::kIsfahanInventory, QStringLiteral("02"), QStringLiteral("انبار شعبه اصفهان"),
              Null(), 1, id::kClerkEmployee, 1, id::kIsfahanBranch, 1});
    rows.add({id::kWholesaleInventory, QStringLiteral("03"), QStringLiteral("انبار مرکزي عمده"),
              Null(), 1, id::kDistributionLead, 0, id::kHeadOffice, 1});
    rows.add({id::kWholesaleHallA, QStringLiteral("0301"), QStringLiteral("انبار عمده - سالن 1"),
              id::kWholesaleInventory, 1, id::kDistributionLead, 0, id::kHeadOffice, 1});
    rows.add({id::kWholesaleHallB, QStringLiteral("0302"), QStringLiteral("انبار عمده - سالن 2"),
              id::kWholesaleInventory, 1, id::kDistributionLead, 0, id::kHeadOffice, 1});
    rows.add({id::kClosedInventory, QStringLiteral("04"), QStringLiteral("انبار ضايعات (بسته)"),
              Null(), 3, Null(), 0, id::kHeadOffice, 1});
    rows.finish();
    BulkInsert closure(
        d.session, QStringLiteral("tblInventoryParent"),
        {QStringLiteral("ID"), QStringLiteral("ChildID"), QStringLiteral("NoLevel")});
    closure.add({id::kWholesaleInventory, id::kWholesaleHallA, 1});
    closure.add({id::kWholesaleInventory, id::kWholesaleHallB, 1});
    closure.finish();
}

void FillStockReceipts(DemoData& d) {
    d.progress(QStringLiteral("موجودي اول دوره انبارها"));
    Rng rng(d.options.seed, 9);
    IndexesSetAside indexes(d.session, {QStringLiteral("tblInventoryReceipt"),
                                        QStringLiteral("tblInventoryReceiptDetail")});
    ReceiptWriter w(d);
    // Every goods item is stocked in the main store; Isfahan holds what it sold and a third of
    // the rest; the wholesale store holds half of the catalogue in bulk.
    for (size_t i = 0; i < d.goods.size(); ++i)
        w.receive(id::kMainInventory, id::kMainShop, d.goods[i],
                  d.soldInMain[i] + onHand(d.goods[i], rng));
    for (size_t i = 0; i < d.goods.size(); ++i) {
        const bool stocked = d.soldInIsfahan[i] > 0 || rng.chance(33);
        if (stocked)
            w.receive(id::kIsfahanInventory, id::kIsfahanBranch, d.goods[i],
                      d.soldInIsfahan[i] + onHand(d.goods[i], rng));
    }
    for (size_t i = 0; i < d.goods.size(); i += 2)
        w.receive(id::kWholesaleInventory, id::kHeadOffice, d.goods[i],
                  10 * onHand(d.goods[i], rng));
    w.finish();
    indexes.restore();
}

}  // namespace si::erpdb::demo

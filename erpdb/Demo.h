#pragma once
// A coherent Persian demo company for an empty database: goods with barcodes, units, groups and
// prices under several pricing methods; stock; customers with cards, degrees and distribution
// paths; inventories; invoice types with accounts; promotions; tax settings; users with rights;
// cash boxes with an open turn; report templates; a card terminal; and past invoices.
// The same seed always gives the same data.

#include <QDate>
#include <QString>
#include <functional>

#include "common/Session.h"

namespace si::erpdb {

struct DemoOptions {
    int goods = 400;
    int customers = 150;
    int invoices = 300;       // stored past invoices, most of them final
    int linesPerInvoice = 6;  // average
    unsigned seed = 1405;
    std::function<void(const QString&)> progress;  // optional
    // The demo's "now": promotions, the accounting period, the tax settings, the open cash
    // turns and the credit constraints hold on this day. Invalid means the current date.
    QDate today;
    int historyDays = 180;  // the past invoices fall into these days before today
};

DemoOptions SmallDemo();
// A demo scaled to the number of goods (customers and invoices grow with it).
DemoOptions DemoOfSize(int goods, int invoices = -1);

// Fills a database whose schema is installed and that holds no demo company yet; throws
// std::runtime_error with a Persian message when it already has one. One transaction.
void FillDemoData(Session& session, const DemoOptions& options);
bool HasDemoData(Session& session);

// Well-known rows of the demo, for the host, the command line and the tests.
inline constexpr int kDemoAdminUserId = 1;    // all rights
inline constexpr int kDemoCashierUserId = 2;  // few rights
inline constexpr int kDemoMainInventoryId = 1;

}  // namespace si::erpdb

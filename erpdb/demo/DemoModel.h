#pragma once
// What the areas of the demo filler share while they write: the fixed IDs of the company's
// well-known rows, and the goods, customers and staff made so far, which the later areas (the
// past invoices, the stock) build on. Every ID is chosen here, never read back, so that the
// same seed writes the same rows on both databases.

#include <QHash>
#include <QString>
#include <array>
#include <vector>

#include "erpdb/Demo.h"
#include "erpdb/demo/DemoSupport.h"

namespace si::erpdb::demo {

// Fixed rows.
namespace id {
inline constexpr int kAdminUser = kDemoAdminUserId;
inline constexpr int kCashierUser = kDemoCashierUserId;
inline constexpr int kClerkUser = 3;

inline constexpr int kHeadOffice = 1;  // branches
inline constexpr int kMainShop = 2;
inline constexpr int kIsfahanBranch = 3;

inline constexpr int kMainInventory = kDemoMainInventoryId;  // sale level, branch 2
inline constexpr int kIsfahanInventory = 2;                  // sale level, branch 3
inline constexpr int kWholesaleInventory = 3;                // parent of 4 and 5
inline constexpr int kWholesaleHallA = 4;
inline constexpr int kWholesaleHallB = 5;

inline constexpr int kRetailMethod = 1;  // pricing methods
inline constexpr int kWholesaleMethod = 2;
inline constexpr int kPartnerMethod = 3;
inline constexpr int kOldListMethod = 4;  // hidden from selection
inline constexpr int kPricingMethods = 4;

inline constexpr int kNormalType = 1;  // invoice types
inline constexpr int kWholesaleType = 2;
inline constexpr int kGoldType = 3;
inline constexpr int kPartnerType = 4;

inline constexpr int kCash = 1;  // tblSalePaidByCash
inline constexpr int kCredit = 2;

inline constexpr int kPreCash = 1;  // pre-conditions: clear days 0, 30, 60, 90
inline constexpr int kPreCheque30 = 2;

inline constexpr int kDeliverAtShop = 1;

inline constexpr int kShopCashBox = 1;  // cash boxes
inline constexpr int kIsfahanCashBox = 2;
inline constexpr int kCreditCashBox = 3;

inline constexpr int kDefaultCustomer = 1;  // 'مشتريان'

inline constexpr int kEach = 1;  // units
inline constexpr int kPack6 = 2;
inline constexpr int kPack12 = 3;
inline constexpr int kCarton24 = 4;
inline constexpr int kBox10 = 5;
inline constexpr int kKilogram = 6;
inline constexpr int kGram = 7;
inline constexpr int kLitre = 8;

inline constexpr int kTransportSurcharge = 1;
inline constexpr int kClosedInventory = 6;

// Staff employees; promoters, distributors and collectors follow them.
inline constexpr int kSalesManager = 1;
inline constexpr int kPromoterLead = 2;
inline constexpr int kDistributionLead = 3;
inline constexpr int kCollectionLead = 4;
inline constexpr int kAdminEmployee = 5;
inline constexpr int kCashierEmployee = 6;
inline constexpr int kClerkEmployee = 7;
inline constexpr int kFirstFieldEmployee = 8;

inline constexpr int kRetailCardType = 1;  // CRM card types
inline constexpr int kSilverCardType = 2;
inline constexpr int kGoldCardType = 3;
}  // namespace id

// Days before today with a closed turn of the shop's cash box.
inline constexpr int kClosedTurnDays = 10;

// Ledger accounts by their code, for the areas that post to them.
namespace account {
inline constexpr const char* kShopCash = "1101";
inline constexpr const char* kIsfahanCash = "1102";
inline constexpr const char* kMellatBank = "1103";
inline constexpr const char* kMelliBank = "1104";
inline constexpr const char* kCashCustomers = "1201";
inline constexpr const char* kCustomers = "1202";  // parent of every customer's own account
inline constexpr const char* kTradeReceivables = "1203";
inline constexpr const char* kStaff = "1204";
inline constexpr const char* kTax = "2101";
inline constexpr const char* kDuty = "2102";
inline constexpr const char* kStackholderShare = "2201";
inline constexpr const char* kAdversShare = "2202";
inline constexpr const char* kEduShare = "2203";
inline constexpr const char* kDependents = "2204";
inline constexpr const char* kSales = "4101";
inline constexpr const char* kWholesaleSales = "4102";
inline constexpr const char* kGoldSales = "4103";
inline constexpr const char* kPartnerSales = "4104";
inline constexpr const char* kLineDiscount = "4201";
inline constexpr const char* kTotalDiscount = "4202";
inline constexpr const char* kDeductions = "4203";
inline constexpr const char* kRounding = "4204";
inline constexpr const char* kTransportIncome = "4301";
inline constexpr const char* kPackingIncome = "4302";
inline constexpr const char* kInstallIncome = "4303";
inline constexpr const char* kStackholderDiscount = "5101";
inline constexpr const char* kAdversDiscount = "5102";
inline constexpr const char* kEduDiscount = "5103";
inline constexpr const char* kWaste = "5104";
}  // namespace account

// Account groups (tblAccountGroup); customer accounts are of group 1.
namespace group {
inline constexpr int kReceivables = 1;
inline constexpr int kCashAndBank = 2;
inline constexpr int kSales = 3;
inline constexpr int kSaleDiscounts = 4;
inline constexpr int kTaxes = 5;
inline constexpr int kOther = 6;
}  // namespace group

// A goods item's price and default discount under one pricing method (or its general one).
struct Pricing {
    bool present = false;
    bool priceFromGood = false;  // stored as NULL: the price of tblGood
    qint64 price = 0;            // Rials per base unit
    bool inPercent = true;
    int discountTenths = 0;    // percent in tenths: 25 is 2.5 %
    qint64 discountValue = 0;  // a whole line's discount when not in percent
};

struct DemoGood {
    int id = 0;
    QString barcode;
    QString code;
    int groupId = 0;
    int scaleId = id::kEach;  // base unit
    std::vector<int> packs;   // further units a line may use (factor > 1)
    Pricing general;          // tblGood's own price and standard discount
    std::array<Pricing, id::kPricingMethods + 1> byMethod{};  // index = method ID
    bool hasTax = false;
    bool hasAdded = false;
    bool weighed = false;
    bool notForSaleInMain = false;
    int taxOverride = -1;  // index into DemoData::taxOverrides
};

struct TaxOverride {
    bool hasTax = false;
    bool hasAdded = false;
    int taxPercent = 0;
    int addedPercent = 0;
};

struct DemoCustomer {
    int id = 0;
    bool isPerson = false;
    bool isShop = false;
    int branchId = id::kMainShop;
    int pricingMethodId = -1;  // from its distribution row; -1 when it has none
    int promoterId = -1;
    int distributerId = -1;
    int achieverId = -1;
    int introductionTypeId = -1;
    int accountId = -1;
    bool hasDependents = false;
};

struct DemoData {
    DemoData(Session& s, const DemoOptions& o);

    Session& session;
    DemoOptions options;
    DemoCalendar calendar;
    QDate historyStart;  // the first day of the past invoices

    QHash<QString, int> accountIds;  // by code
    int accountId(const char* code) const;
    int nextAccountId = 0;

    std::vector<DemoGood> goods;
    std::vector<TaxOverride> taxOverrides;
    std::vector<double> factorOfScale;  // base units in one unit, by scale ID (0 unused)
    QHash<QString, int> groupIds;       // by name ("top" or "top/middle")
    // Goods in order of how often they sell: popular[0] is the best seller (indexes into goods).
    std::vector<int> popular;

    std::vector<DemoCustomer> customers;  // index 0 is the default customer
    std::vector<int> promoters;
    std::vector<int> distributors;
    std::vector<int> collectors;
    int employeeCount = 0;
    // Distribution paths of each region: where its customers are sold to, delivered and
    // collected from, with the employee serving each.
    struct Region {
        int salePaths[2] = {0, 0};
        int salePromoters[2] = {0, 0};
        int distributionPath = 0;
        int distributor = 0;
        int collectionPath = 0;
        int collector = 0;
        int branchId = 0;
    };
    std::vector<Region> regions;
    int nextRelatedObjectId = 2;       // 1 is the default account of group 1
    QHash<qint64, int> cashTurnOfDay;  // the closed turn of the shop's cash box, by Julian day

    // Base quantities sold from the two sale-level inventories (by goods index), which the
    // opening receipts must cover.
    std::vector<double> soldInMain;
    std::vector<double> soldInIsfahan;
    // A few final invoices that get their accounting document and cash-turn row.
    struct PostedInvoice {
        int id = 0;
        int code = 0;
        QDate date;
        int customer = 0;  // index into customers
        int promoterId = -1;
        int branchId = 0;
        int typeId = 0;
        bool cash = false;
        qint64 totalPrice = 0;  // lines after their discounts
        qint64 rowDiscount = 0;
        qint64 masterDiscount = 0;
        qint64 surcharge = 0;
        qint64 tax = 0;
        qint64 added = 0;
        qint64 roundDown = 0;
        qint64 grandTotal = 0;
    };
    std::vector<PostedInvoice> posted;

    void progress(const QString& step) const;
};

// The areas, in the order they are written.
void FillLedger(DemoData& d);
void FillSystem(DemoData& d);
void FillSystemParameters(DemoData& d);
void FillUserLinks(DemoData& d);
void FillSaleSetup(DemoData& d);
void FillGoods(DemoData& d);
void FillGoodsPricing(DemoData& d);
void FillPeople(DemoData& d);
void FillCustomers(DemoData& d);
void FillCash(DemoData& d);
void FillInventories(DemoData& d);
void FillPromotions(DemoData& d);
void FillInvoices(DemoData& d);
void FillInvoiceDocuments(DemoData& d);
void FillStockReceipts(DemoData& d);

}  // namespace si::erpdb::demo

#pragma once
// The look-ups that entering a goods line asks about its goods: the goods item by barcode or
// code, its sale rule in the inventory, its stock and the quantities held elsewhere, its price
// under a pricing method, its discount rates, its unit's rules, its free-goods threshold and its
// attached goods. Outside a batch each question goes to the database as it is asked, with the
// statement of its one-goods look-up: a clerk typing a line waits for that line only.
//
// A Batch is open while many lines known beforehand are entered (a JSON invoice, a scanner
// file). The first question of a kind about one of the batch's goods is then asked once for all
// of them (the goods attached to them and those found by code join them), and the answers are
// kept until the batch closes. Questions about other goods, and those a grouped statement could
// not answer alike (a code several goods share), still go to the database one by one. Answers
// are the same either way, since the database does not change while the lines are entered;
// what the form's own lines hold is reckoned by the lines, not here.

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "invoice/DiscountRates.h"
#include "invoice/GoodsLookups.h"

namespace si {

struct InvoiceServices;

class LineLookups {
public:
    explicit LineLookups(InvoiceServices& services);
    ~LineLookups();
    LineLookups(const LineLookups&) = delete;
    LineLookups& operator=(const LineLookups&) = delete;

    // Open while the lines typed as these barcodes (weighing labels among them) and goods codes
    // are entered; what it read is dropped when it closes. Fewer than two lines need no batch:
    // they are asked as typed lines are. Batches may nest; the outermost one keeps the answers.
    class Batch {
    public:
        Batch(LineLookups& lookups, const QStringList& barcodes, const QStringList& codes = {});
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        LineLookups& lookups_;
        bool opened_ = false;
    };

    std::optional<GoodInfo> goodByBarcode(const QString& barcode);
    std::optional<GoodInfo> goodByCode(const QString& code);
    // tblGood's barcode of a weighing label's goods code; empty when none.
    QString barcodeOfCode(const QString& code);
    bool isNotForSale(const QString& barcode, int inventoryId);
    double stock(int inventoryId, const QString& barcode, const QDate& asOf, int excludeInvoiceId);
    double tempInvoiceQty(const QString& barcode, int inventoryId, int excludeInvoiceId);
    double reservedQty(const QString& barcode, int inventoryId, int excludeInvoiceId);
    PriceLookup price(const QString& barcode, int method);
    GoodDiscountRates discountRates(const GoodDiscountRates::Request& request);
    // The customer's birthday discount window (parameter 5020) holds today.
    bool customerHadBirthday(int customerId);
    bool isIntegerUnit(int scaleId);
    double unitFactor(int scaleId);
    std::optional<double> freeGoodsThreshold(const QString& barcode);
    QStringList attachedBarcodes(const QString& barcode);
    bool isVehicleMoved(int distributionInvoiceId);
    // The batch's goods whose other look-ups (the tax flags) are best asked together with the
    // barcode's; empty outside a batch or for goods not in it.
    QStringList askedTogether(const QString& barcode) const;

private:
    struct Answers;
    using HeldTable = QHash<QString, QHash<QString, double>>;
    using HeldQuantities = QHash<QString, double> (*)(Session&, const QStringList&, int, int);
    double heldQuantity(HeldTable Answers::*byContext, const QString& barcode, int inventoryId,
                        int excludeInvoiceId, HeldQuantities read);
    Session& db() const;
    bool batched(const QString& barcode) const;
    void open(const QStringList& barcodes, const QStringList& codes);
    void close();

    InvoiceServices& services_;
    std::unique_ptr<Answers> answers_;
    int depth_ = 0;
};

}  // namespace si

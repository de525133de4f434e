#include "invoice/LineLookups.h"

#include <QHash>
#include <QSet>

#include "common/Stock.h"
#include "invoice/InvoiceServices.h"
#include "invoice/ScaleInput.h"

namespace si {

namespace {

// A code's goods when exactly one goods item carries it; a shared code is asked alone.
struct CodeAnswer {
    bool decided = false;
    std::optional<GoodInfo> good;
};

// A discount rates read for some of the batch's goods.
struct RatesPart {
    QSet<QString> barcodes;
    GoodDiscountRates rates;
};

QString contextKey(int inventoryId, int excludeInvoiceId, const QDate& asOf = {}) {
    return QStringLiteral("%1|%2|%3")
        .arg(inventoryId)
        .arg(excludeInvoiceId)
        .arg(asOf.toString(Qt::ISODate));
}

// Rates answer alike for requests of the same card, birthday and standard reading.
QString ratesKey(const GoodDiscountRates::Request& r) {
    const bool cards = r.cardType > 0;
    return QStringLiteral("%1|%2|%3")
        .arg(cards ? r.cardType : -1)
        .arg(cards && r.birthday ? 1 : 0)
        .arg(r.standard ? 1 : 0);
}

}  // namespace

// What an open batch wants and what it has read. Every table holds an answer for each key it
// was asked about, "none" included, so a key it holds is never asked again.
struct LineLookups::Answers {
    QStringList goods;  // barcodes, in the order they joined
    QSet<QString> goodsSet;
    QStringList codes;
    QSet<QString> codeSet;
    QHash<QString, std::optional<GoodInfo>> byBarcode;
    QHash<QString, CodeAnswer> byCode;
    QHash<int, QHash<QString, bool>> notForSale;  // by inventory
    QHash<QString, QHash<QString, double>> stock;
    QHash<QString, QHash<QString, double>> temp;
    QHash<QString, QHash<QString, double>> reserved;
    QHash<int, QHash<QString, PriceLookup>> prices;  // by method
    QHash<QString, QVector<RatesPart>> rates;
    QHash<int, bool> birthdays;  // by customer
    QSet<int> unitsWanted;
    QHash<int, UnitRule> units;
    QHash<QString, std::optional<double>> thresholds;
    QHash<QString, QStringList> attached;
    QHash<int, bool> vehicles;

    void want(const QString& barcode) {
        if (barcode.isEmpty() || goodsSet.contains(barcode)) return;
        goodsSet.insert(barcode);
        goods << barcode;
    }

    void wantCode(const QString& code) {
        if (code.isEmpty() || codeSet.contains(code)) return;
        codeSet.insert(code);
        codes << code;
    }

    // The codes are read all at once; the goods they find join the batch.
    CodeAnswer codeAnswer(Session& s, const QString& code) {
        if (!byCode.contains(code)) {
            QStringList missing;
            for (const QString& c : codes)
                if (!byCode.contains(c)) missing << c;
            const QHash<QString, QVector<GoodInfo>> found = GoodsByCodes(s, missing);
            for (const QString& c : missing) {
                const QVector<GoodInfo> carrying = found.value(c);
                CodeAnswer a;
                a.decided = carrying.size() < 2;
                if (carrying.size() == 1) {
                    a.good = carrying.first();
                    want(a.good->BarCode);
                    unitsWanted.insert(a.good->SaleScaleID);
                }
                byCode.insert(c, a);
            }
        }
        return byCode.value(code);
    }

    // The batch's goods that `table` holds no answer for.
    template <typename T>
    QStringList missingFrom(const QHash<QString, T>& table) const {
        QStringList missing;
        for (const QString& barcode : goods)
            if (!table.contains(barcode)) missing << barcode;
        return missing;
    }

    // The answer about the barcode; on a miss, read(missing) reads the batch's goods that the
    // table has no answer for, and those it finds nothing for get the empty answer.
    template <typename T, typename Read>
    T answer(QHash<QString, T>& table, const QString& barcode, Read read) {
        if (!table.contains(barcode)) {
            const QStringList missing = missingFrom(table);
            const QHash<QString, T> found = read(missing);
            for (const QString& b : missing)
                table.insert(b, found.value(b));
        }
        return table.value(barcode);
    }
};

LineLookups::LineLookups(InvoiceServices& services) : services_(services) {}

LineLookups::~LineLookups() = default;

Session& LineLookups::db() const {
    return services_.ctx.db();
}

// ---- the batch ---------------------------------------------------------------------------

LineLookups::Batch::Batch(LineLookups& lookups, const QStringList& barcodes,
                          const QStringList& codes)
    : lookups_(lookups) {
    if (lookups_.depth_ == 0 && barcodes.size() + codes.size() < 2) return;
    lookups_.open(barcodes, codes);
    opened_ = true;
}

LineLookups::Batch::~Batch() {
    if (opened_) lookups_.close();
}

// Typed text is looked up trimmed; a weighing label names its goods by barcode or code.
void LineLookups::open(const QStringList& barcodes, const QStringList& codes) {
    if (depth_++ == 0) answers_ = std::make_unique<Answers>();
    for (const QString& typed : barcodes) {
        const QString text = typed.trimmed();
        QStringList labelBarcodes;
        QStringList labelCodes;
        services_.scale->LabelGoods(text, labelBarcodes, labelCodes);
        answers_->want(text);
        for (const QString& barcode : labelBarcodes)
            answers_->want(barcode);
        for (const QString& code : labelCodes)
            answers_->wantCode(code);
    }
    for (const QString& typed : codes)
        answers_->wantCode(typed.trimmed());
}

void LineLookups::close() {
    if (--depth_ == 0) answers_.reset();
}

bool LineLookups::batched(const QString& barcode) const {
    return answers_ && answers_->goodsSet.contains(barcode);
}

QStringList LineLookups::askedTogether(const QString& barcode) const {
    return batched(barcode) ? answers_->goods : QStringList();
}

// ---- the goods ---------------------------------------------------------------------------

std::optional<GoodInfo> LineLookups::goodByBarcode(const QString& barcode) {
    if (!batched(barcode)) return GoodByBarcode(db(), barcode);
    return answers_->answer(answers_->byBarcode, barcode, [this](const QStringList& missing) {
        QHash<QString, std::optional<GoodInfo>> found;
        const QHash<QString, GoodInfo> goods = GoodsByBarcodes(db(), missing);
        for (auto it = goods.begin(); it != goods.end(); ++it) {
            found.insert(it.key(), it.value());
            answers_->unitsWanted.insert(it.value().SaleScaleID);
        }
        return found;
    });
}

std::optional<GoodInfo> LineLookups::goodByCode(const QString& code) {
    if (!answers_ || !answers_->codeSet.contains(code)) return GoodByCode(db(), code);
    const CodeAnswer a = answers_->codeAnswer(db(), code);
    return a.decided ? a.good : GoodByCode(db(), code);
}

QString LineLookups::barcodeOfCode(const QString& code) {
    if (!answers_ || !answers_->codeSet.contains(code)) return BarcodeOfGoodsCode(db(), code);
    const CodeAnswer a = answers_->codeAnswer(db(), code);
    if (!a.decided) return BarcodeOfGoodsCode(db(), code);
    return a.good ? a.good->BarCode : QString();
}

bool LineLookups::isNotForSale(const QString& barcode, int inventoryId) {
    if (!batched(barcode)) return IsNotForSale(db(), barcode, inventoryId);
    return answers_->answer(
        answers_->notForSale[inventoryId], barcode, [&](const QStringList& missing) {
            QHash<QString, bool> found;
            for (const QString& b : NotForSaleBarcodes(db(), missing, inventoryId))
                found.insert(b, true);
            return found;
        });
}

// ---- quantities --------------------------------------------------------------------------

double LineLookups::stock(int inventoryId, const QString& barcode, const QDate& asOf,
                          int excludeInvoiceId) {
    if (!batched(barcode))
        return InventoryStock(services_.ctx, inventoryId, barcode, asOf, excludeInvoiceId);
    return answers_->answer(answers_->stock[contextKey(inventoryId, excludeInvoiceId, asOf)],
                            barcode, [&](const QStringList& missing) {
                                return InventoryStocks(services_.ctx, inventoryId, missing, asOf,
                                                       excludeInvoiceId);
                            });
}

// A quantity held elsewhere (temporary invoices, reservations): one barcode at once, or every
// barcode of the batch in one statement.
double LineLookups::heldQuantity(HeldTable Answers::*byContext, const QString& barcode,
                                 int inventoryId, int excludeInvoiceId, HeldQuantities read) {
    const auto readFor = [&](const QStringList& barcodes) {
        return read(db(), barcodes, inventoryId, excludeInvoiceId);
    };
    if (!batched(barcode)) return readFor({barcode}).value(barcode);
    HeldTable& table = (*answers_).*byContext;
    return answers_->answer(table[contextKey(inventoryId, excludeInvoiceId)], barcode, readFor);
}

double LineLookups::tempInvoiceQty(const QString& barcode, int inventoryId, int excludeInvoiceId) {
    return heldQuantity(&Answers::temp, barcode, inventoryId, excludeInvoiceId,
                        TempInvoiceQuantities);
}

double LineLookups::reservedQty(const QString& barcode, int inventoryId, int excludeInvoiceId) {
    return heldQuantity(&Answers::reserved, barcode, inventoryId, excludeInvoiceId,
                        ReservedQuantities);
}

// ---- price and discounts -----------------------------------------------------------------

PriceLookup LineLookups::price(const QString& barcode, int method) {
    if (!batched(barcode)) return GoodPrice(db(), barcode, method);
    return answers_->answer(answers_->prices[method], barcode, [&](const QStringList& missing) {
        return GoodPrices(db(), missing, method);
    });
}

// A request for one of the batch's goods reads the rates of all the goods not yet read under
// the same card, birthday and standard reading.
GoodDiscountRates LineLookups::discountRates(const GoodDiscountRates::Request& request) {
    if (request.barcodes.size() != 1 || !batched(request.barcodes.first().trimmed()))
        return GoodDiscountRates(db(), request);
    const QString barcode = request.barcodes.first().trimmed();
    QVector<RatesPart>& parts = answers_->rates[ratesKey(request)];
    QSet<QString> read;
    for (const RatesPart& part : parts) {
        if (part.barcodes.contains(barcode)) return part.rates;
        read.unite(part.barcodes);
    }
    GoodDiscountRates::Request all = request;
    all.barcodes.clear();
    for (const QString& b : answers_->goods)
        if (!read.contains(b)) all.barcodes << b;
    RatesPart part{QSet<QString>(all.barcodes.begin(), all.barcodes.end()),
                   GoodDiscountRates(db(), all)};
    parts << part;
    return part.rates;
}

bool LineLookups::customerHadBirthday(int customerId) {
    const auto ask = [&] {
        const int days = BirthdayDiscountDays(db());
        return days >= 0 && CustomerHadBirthday(db(), customerId, db().today(), days);
    };
    if (!answers_) return ask();
    auto known = answers_->birthdays.constFind(customerId);
    if (known == answers_->birthdays.constEnd())
        known = answers_->birthdays.insert(customerId, ask());
    return known.value();
}

// ---- units, thresholds, attached goods ---------------------------------------------------

bool LineLookups::isIntegerUnit(int scaleId) {
    if (!answers_) return IsIntegerUnit(db(), scaleId);
    if (!answers_->units.contains(scaleId)) {
        answers_->unitsWanted.insert(scaleId);
        QVector<int> missing;
        for (int id : std::as_const(answers_->unitsWanted))
            if (!answers_->units.contains(id)) missing << id;
        const QHash<int, UnitRule> found = UnitRules(db(), missing);
        for (int id : missing)
            answers_->units.insert(id, found.value(id));
    }
    return answers_->units.value(scaleId).integer;
}

double LineLookups::unitFactor(int scaleId) {
    if (!answers_) return UnitFactor(db(), scaleId);
    isIntegerUnit(scaleId);
    return answers_->units.value(scaleId).factor;
}

std::optional<double> LineLookups::freeGoodsThreshold(const QString& barcode) {
    if (!batched(barcode)) return FreeGoodsThreshold(db(), barcode);
    return answers_->answer(answers_->thresholds, barcode, [this](const QStringList& missing) {
        return FreeGoodsThresholds(db(), missing);
    });
}

// Attached goods are entered as lines of their own, so they join the batch.
QStringList LineLookups::attachedBarcodes(const QString& barcode) {
    if (!batched(barcode)) return AttachedBarcodes(db(), barcode);
    return answers_->answer(answers_->attached, barcode, [this](const QStringList& missing) {
        const QHash<QString, QStringList> found = AttachedBarcodesOf(db(), missing);
        for (const QStringList& list : found)
            for (const QString& b : list)
                answers_->want(b);
        return found;
    });
}

bool LineLookups::isVehicleMoved(int distributionInvoiceId) {
    if (!answers_) return IsVehicleMoved(db(), distributionInvoiceId);
    auto known = answers_->vehicles.constFind(distributionInvoiceId);
    if (known == answers_->vehicles.constEnd())
        known = answers_->vehicles.insert(distributionInvoiceId,
                                          IsVehicleMoved(db(), distributionInvoiceId));
    return known.value();
}

}  // namespace si

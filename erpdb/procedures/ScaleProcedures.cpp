// The weighing station's sales. A station (a scale with its own workstation, at the meat or
// produce counter) keeps each customer's weighed goods as a temporary invoice and prints the
// station barcode "/" + that invoice's ID in at least 11 digits (zero-padded) + "/", e.g.
// "/00000012345/". At the till the barcode brings those goods into the clerk's invoice.
//
// spSaleInvoiceCopyFromScale(@InvoiceID, @ScaleBarcode, @CreatorID, @Message OUTPUT) returns
// the invoice that received the goods, 0 when refused (@Message then says why and nothing is
// written):
// - The barcode must have the form above and name a stored temporary invoice other than the
//   receiving one; a final invoice is sold already and is no station sale.
// - A barcode is used once: tblSaleInvoiceScaleBarcode keeps it (in its canonical 11-digit
//   form, so another padding of the same ID is the same barcode) with the receiving invoice.
// - @InvoiceID -1 (or any value below 1) makes a new temporary invoice with the station sale's
//   header (type, customer, inventory, branch, pricing method, promoters, objects, flags, master
//   discount and totals), created now by @CreatorID. Otherwise @InvoiceID must be a stored
//   temporary invoice; its header and master discount stay, and the station's totals are added
//   to its stored totals (the form recomputes them when it opens the invoice).
// - The station's goods lines are copied with their prices, discounts and split discounts; a
//   line without its own promoter or pricing method takes the station sale's. A line whose
//   barcode, unit and description the receiving invoice already has adds its quantity and
//   amounts to that line, as an invoice holds one line per barcode, unit and description. Free
//   goods are not copied: the promotion pass of the form gives them anew.
// - The receiving invoice's stored sums follow its lines.
// - The station sale itself is left as it is.
// Everything runs in one writer transaction, so two tills cannot use one barcode at once.

#include <QHash>
#include <optional>

#include "common/InvoiceSums.h"
#include "common/Jalali.h"
#include "common/Session.h"
#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

namespace {

constexpr int kStationIdDigits = 11;

const QString kBadBarcode = QStringLiteral("بارکد ترازو معتبر نيست.");
const QString kUsedBefore = QStringLiteral("اين بارکد ترازو قبلا در فاکتور شماره %1 ثبت شده است.");
const QString kNoInvoice = QStringLiteral("فاکتور مورد نظر پيدا نشد.");
const QString kFinalInvoice =
    QStringLiteral("فاکتور قطعي شده است. کالاهاي ترازو فقط به فاکتور موقت اضافه مي شود.");
const QString kNoStationSale = QStringLiteral("فاکتور ترازو با اين بارکد پيدا نشد.");
const QString kOwnBarcode = QStringLiteral("اين بارکد مربوط به همين فاکتور است.");
const QString kEmptyStationSale = QStringLiteral("فاکتور ترازو کالايي ندارد.");

// The station sale's ID, or nullopt when the text is no station barcode.
std::optional<qint64> stationSaleOf(const QString& barcode) {
    if (barcode.size() < kStationIdDigits + 2 || !barcode.startsWith(QLatin1Char('/')) ||
        !barcode.endsWith(QLatin1Char('/')))
        return std::nullopt;
    const QString digits = barcode.mid(1, barcode.size() - 2);
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    bool ok = false;
    const qint64 id = digits.toLongLong(&ok);
    if (!ok || id < 1) return std::nullopt;
    return id;
}

QString canonicalBarcode(qint64 stationSale) {
    return QStringLiteral("/%1/").arg(stationSale, kStationIdDigits, 10, QLatin1Char('0'));
}

struct CopyRequest {
    int target = -1;  // below 1: a new invoice
    qint64 station = -1;
    QString barcode;  // canonical
    int creator = -1;
};

// Why the copy cannot be made; nullopt when it can.
std::optional<QString> refusalOf(Session& s, const CopyRequest& r) {
    const QVariant usedBy = s.scalar(
        QStringLiteral("select InvoiceID from tblSaleInvoiceScaleBarcode where ScaleBarcode = ? "
                       "order by ID limit 1"),
        {r.barcode});
    if (!usedBy.isNull()) return kUsedBefore.arg(usedBy.toInt());
    if (r.target > 0) {
        const auto target =
            s.first(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {r.target});
        if (!target) return kNoInvoice;
        if (!target->isNull(u"Code")) return kFinalInvoice;
        if (r.target == r.station) return kOwnBarcode;
    }
    if (!s.first(QStringLiteral("select ID from tblSaleInvoice where ID = ? and Code is null"),
                 {r.station}))
        return kNoStationSale;
    if (!s.first(QStringLiteral("select ID from tblSaleInvoiceDetail where InvoiceID = ? and "
                                "coalesce(IsEchantillon, 0) = 0 limit 1"),
                 {r.station}))
        return kEmptyStationSale;
    return std::nullopt;
}

// The station sale's header columns that a new invoice takes over.
const QString kHeaderColumns = QStringLiteral(
    "InvoiceType, TypeID, CustomerID, InventoryID, BranchID, ContractID, DeliverTypeID, "
    "IntroductionTypeID, PricingMethodID, PreConditionID, ObjectID1, ObjectID2, IsPaidByCash, "
    "PromoterID, PromoterID2, AchieverID, DistributerID, CardNo, IsFormal, IsCheckEchantillon, "
    "ShouldSMSSend, CreditDays, CustomerMessage, DiscountTypeID, DiscountPercent, DiscountValue, "
    "Value, TotalValue, PureTotalValue");

int newInvoiceLike(Session& s, const CopyRequest& r) {
    const QDateTime now = s.now();
    const int id = static_cast<int>(s.insertReturningId(
        QStringLiteral("insert into tblSaleInvoice (CreatorID, CreatorEmployeeID, CreateDate, "
                       "FarsiCreateDate, IsFromDispatch) values (?, (select min(e.ID) from "
                       "tblEmployee e where e.UserID = ?), ?, ?, 0) RETURNING ID"),
        {r.creator, r.creator, now, getFarsiDate(now.date())}));
    s.exec(QStringLiteral("update tblSaleInvoice set (") + kHeaderColumns +
               QStringLiteral(") = (select ") + kHeaderColumns +
               QStringLiteral(" from tblSaleInvoice x where x.ID = ?) where ID = ?"),
           {r.station, id});
    return id;
}

void addStationTotals(Session& s, const CopyRequest& r) {
    s.exec(QStringLiteral(
               "update tblSaleInvoice set "
               "Value = coalesce(Value, 0) + (select coalesce(x.Value, 0) from tblSaleInvoice x "
               "where x.ID = ?), "
               "TotalValue = coalesce(TotalValue, 0) + (select coalesce(x.TotalValue, 0) from "
               "tblSaleInvoice x where x.ID = ?), "
               "PureTotalValue = coalesce(PureTotalValue, 0) + (select coalesce(x.PureTotalValue, "
               "0) from tblSaleInvoice x where x.ID = ?) "
               "where ID = ?"),
           {r.station, r.station, r.station, r.target});
}

QString lineKey(const Row& r) {
    return r.text(u"Barcode") + QChar(0x1F) + QString::number(r.toInt(u"ScaleID", -1)) +
           QChar(0x1F) + r.text(u"Description");
}

const QString kLineKeyColumns = QStringLiteral(
    "ID, Barcode, coalesce(ScaleID, -1) as ScaleID, coalesce(Description, '') as Description");

void mergeLine(Session& s, qint64 into, const Row& station) {
    s.exec(QStringLiteral("update tblSaleInvoiceDetail set Qty = coalesce(Qty, 0) + ?, "
                          "InitialQty = coalesce(InitialQty, 0) + ?, "
                          "DiscountValue = coalesce(DiscountValue, 0) + ?, "
                          "TaxValue = coalesce(TaxValue, 0) + ?, "
                          "AddedValue = coalesce(AddedValue, 0) + ? where ID = ?"),
           {QVariant::fromValue(station.money(u"Qty")),
            QVariant::fromValue(station.money(u"InitialQty")),
            QVariant::fromValue(station.money(u"DiscountValue")),
            QVariant::fromValue(station.money(u"TaxValue")),
            QVariant::fromValue(station.money(u"AddedValue")), into});
}

qint64 insertLine(Session& s, int invoice, int rowNumber, qint64 stationLine) {
    const qint64 id = s.insertReturningId(
        QStringLiteral(
            "insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, Barcode, Description, "
            "ScaleID, Qty, RetailPrice, DiscountTypeID, DiscountPercent, DiscountValue, "
            "ServicedBarCode, InitialQty, InitialScaleID, ChangeReasonSequence, "
            "ConstructionFeePercent, ConstructionFeeValue, ProfitPercent, WorkFee, TaxValue, "
            "AddedValue, PricingMethodID, PromoterID, IsEchantillon) "
            "select CAST(? AS INTEGER), CAST(? AS INTEGER), d.Barcode, coalesce(d.Description, "
            "''), d.ScaleID, d.Qty, "
            "d.RetailPrice, d.DiscountTypeID, d.DiscountPercent, d.DiscountValue, "
            "d.ServicedBarCode, d.InitialQty, d.InitialScaleID, d.ChangeReasonSequence, "
            "d.ConstructionFeePercent, d.ConstructionFeeValue, d.ProfitPercent, d.WorkFee, "
            "d.TaxValue, d.AddedValue, coalesce(d.PricingMethodID, s.PricingMethodID), "
            "coalesce(d.PromoterID, s.PromoterID), 0 "
            "from tblSaleInvoiceDetail d inner join tblSaleInvoice s on s.ID = d.InvoiceID "
            "where d.ID = ? RETURNING ID"),
        {invoice, rowNumber, stationLine});
    s.exec(QStringLiteral(
               "insert into tblSaleInvoiceDetailDiscount (InvoiceID, Barcode, Description, "
               "ScaleID, DiscountTypeID, DiscountPercent, DiscountValue) "
               "select CAST(? AS INTEGER), x.Barcode, x.Description, x.ScaleID, x.DiscountTypeID, "
               "x.DiscountPercent, x.DiscountValue from tblSaleInvoiceDetailDiscount x "
               "inner join tblSaleInvoiceDetail d on d.InvoiceID = x.InvoiceID and d.Barcode = "
               "x.Barcode and coalesce(d.ScaleID, -1) = coalesce(x.ScaleID, -1) and "
               "coalesce(d.Description, '') = coalesce(x.Description, '') where d.ID = ?"),
           {invoice, stationLine});
    return id;
}

void copyLines(Session& s, const CopyRequest& r, int invoice) {
    QHash<QString, qint64> existing;
    for (const Row& l : s.query(QStringLiteral("select ") + kLineKeyColumns +
                                    QStringLiteral(" from tblSaleInvoiceDetail where InvoiceID = "
                                                   "? and coalesce(IsEchantillon, 0) = 0"),
                                {invoice}))
        existing.insert(lineKey(l), l.toInt64(u"ID"));
    int rowNumber = s.scalar(QStringLiteral("select coalesce(max(RowNumber), 0) from "
                                            "tblSaleInvoiceDetail where InvoiceID = ?"),
                             {invoice})
                        .toInt();
    const RowSet station = s.query(
        QStringLiteral("select ") + kLineKeyColumns +
            QStringLiteral(", Qty, InitialQty, DiscountValue, TaxValue, AddedValue from "
                           "tblSaleInvoiceDetail where InvoiceID = ? and coalesce(IsEchantillon, "
                           "0) = 0 order by RowNumber, ID"),
        {r.station});
    for (const Row& l : station) {
        const QString key = lineKey(l);
        if (const auto it = existing.constFind(key); it != existing.constEnd())
            mergeLine(s, it.value(), l);
        else
            existing.insert(key, insertLine(s, invoice, ++rowNumber, l.toInt64(u"ID")));
    }
}

void recordBarcode(Session& s, const CopyRequest& r, int invoice) {
    const QDateTime now = s.now();
    s.exec(QStringLiteral("insert into tblSaleInvoiceScaleBarcode (InvoiceID, ScaleBarcode, "
                          "CreatorID, CreateDate, FarsiCreateDate) values (?, ?, ?, ?, ?)"),
           {invoice, r.barcode, r.creator, now, getFarsiDate(now.date())});
}

QVariant spSaleInvoiceCopyFromScale(Session& s, QVariantList& args) {
    SetOut(args, 3, QString());
    const auto station = stationSaleOf(Arg(args, 1).toString().trimmed());
    if (!station) {
        SetOut(args, 3, kBadBarcode);
        return 0;
    }
    CopyRequest r;
    r.target = ArgInt(args, 0, -1);
    r.station = *station;
    r.barcode = canonicalBarcode(*station);
    r.creator = ArgInt(args, 2, -1);
    Transaction t = s.writerTransaction();
    if (const auto refusal = refusalOf(s, r)) {
        SetOut(args, 3, *refusal);
        return 0;
    }
    const int invoice = r.target > 0 ? r.target : newInvoiceLike(s, r);
    if (r.target > 0) addStationTotals(s, r);
    copyLines(s, r, invoice);
    RefreshInvoiceSums(s, invoice);
    recordBarcode(s, r, invoice);
    t.commit();
    return invoice;
}

}  // namespace

void RegisterScaleProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spSaleInvoiceCopyFromScale"), spSaleInvoiceCopyFromScale);
}

}  // namespace si::erpdb

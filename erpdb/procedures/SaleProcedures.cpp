// The sale invoice's header and line procedures that SaveInvoice calls.
//
// spSaleInsertInvoice   @CreateDate, @FarsiCreateDate, @CustomerID, @CreatorID, @Notes, @Message,
//                       @DiscountTypeID, @DiscountPercent, @DiscountValue, @Code, @SuCharge,
//                       @Value, @CSOrderID, @PureTotalValue, @PromoterID, @InvoiceType,
//                       @IsPaidByCash, @IsFromDispatch, @ID (out)
// spSaleUpdateInvoice   @ID, then the same values without @Code and @CSOrderID, ending with
//                       @IsPaidByCash, @IsFromDispatch (NULL keeps the stored flag)
// spSaleDeleteInvoice   @ID: the invoice's lines (the header row stays, to be written again)
// spSaleInsertInvoiceDetail  @Qty, @BarCode, @Description, @CSInvoiceID, @DiscountTypeID,
//                       @DiscountValue, @DiscountPercent, @UnitPrice, @Row, @ScaleID; returns
//                       the new line's ID (one line a call: the save writes the same row with
//                       all its columns, many lines to a statement)
//
// The save that calls the header procedures and spSaleDeleteInvoice refreshes the invoice's stored
// sums once it has written the lines; spSaleInsertInvoiceDetail refreshes them itself.
//
// Identifiers and codes below 1 (-1 for "none") are stored as NULL; the cash-sale flag and the flag
// of an invoice made from a dispatch are separate columns.

#include "common/InvoiceSums.h"
#include "common/Session.h"
#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

namespace {

QVariant idOrNull(const QVariantList& args, int index) {
    const int id = ArgInt(args, index, -1);
    return id > 0 ? QVariant(id) : QVariant();
}
QVariant moneyArg(const QVariantList& args, int index) {
    return QVariant::fromValue(ArgMoney(args, index));
}
QVariant flagArg(const QVariantList& args, int index) {
    const QVariant v = Arg(args, index);
    return v.isNull() || !v.isValid() ? QVariant() : QVariant(v.toBool() ? 1 : 0);
}
QString textArg(const QVariantList& args, int index) {
    const QString text = Arg(args, index).toString();
    return text.isNull() ? QStringLiteral("") : text;
}

QVariant spSaleInsertInvoice(Session& s, QVariantList& args) {
    const qint64 id = s.insertReturningId(
        QStringLiteral(
            "insert into tblSaleInvoice (CreateDate, FarsiCreateDate, CustomerID, CreatorID, "
            "Notes, CustomerMessage, DiscountTypeID, DiscountPercent, DiscountValue, Code, "
            "SuchargeValue, Value, SaleOrderID, PureTotalValue, PromoterID, InvoiceType, "
            "IsPaidByCash, IsFromDispatch) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) "
            "RETURNING ID"),
        {Arg(args, 0), Arg(args, 1), idOrNull(args, 2), idOrNull(args, 3), Arg(args, 4),
         Arg(args, 5), ArgInt(args, 6, 3), Arg(args, 7).toDouble(), moneyArg(args, 8),
         idOrNull(args, 9), moneyArg(args, 10), moneyArg(args, 11), idOrNull(args, 12),
         moneyArg(args, 13), idOrNull(args, 14), ArgInt(args, 15, 1), flagArg(args, 16),
         ArgInt(args, 17, 0) != 0 ? 1 : 0});
    SetOut(args, 18, static_cast<int>(id));
    return static_cast<int>(id);
}

QVariant spSaleUpdateInvoice(Session& s, QVariantList& args) {
    s.exec(QStringLiteral(
               "update tblSaleInvoice set CreateDate = ?, FarsiCreateDate = ?, CustomerID = ?, "
               "CreatorID = ?, Notes = ?, CustomerMessage = ?, DiscountTypeID = ?, "
               "DiscountPercent = ?, DiscountValue = ?, SuchargeValue = ?, Value = ?, "
               "PureTotalValue = ?, PromoterID = ?, InvoiceType = ?, IsPaidByCash = ?, "
               "IsFromDispatch = coalesce(?, IsFromDispatch) where ID = ?"),
           {Arg(args, 1), Arg(args, 2), idOrNull(args, 3), idOrNull(args, 4), Arg(args, 5),
            Arg(args, 6), ArgInt(args, 7, 3), Arg(args, 8).toDouble(), moneyArg(args, 9),
            moneyArg(args, 10), moneyArg(args, 11), moneyArg(args, 12), idOrNull(args, 13),
            ArgInt(args, 14, 1), flagArg(args, 15), flagArg(args, 16), ArgInt(args, 0, -1)});
    return 0;
}

QVariant spSaleDeleteInvoice(Session& s, QVariantList& args) {
    return s.exec(QStringLiteral("delete from tblSaleInvoiceDetail where InvoiceID = ?"),
                  {ArgInt(args, 0, -1)});
}

// Returns the new line's ID, so that the save completes exactly this line (a free-goods line may
// share its barcode, unit and description with a sold one).
QVariant spSaleInsertInvoiceDetail(Session& s, QVariantList& args) {
    Transaction t = s.joinTransaction();
    const auto id = static_cast<int>(s.insertReturningId(
        QStringLiteral(
            "insert into tblSaleInvoiceDetail (Qty, Barcode, Description, InvoiceID, "
            "DiscountTypeID, DiscountValue, DiscountPercent, RetailPrice, RowNumber, ScaleID, "
            "IsEchantillon) values (?,?,?,?,?,?,?,?,?,?,0) RETURNING ID"),
        {moneyArg(args, 0), textArg(args, 1), textArg(args, 2), ArgInt(args, 3, -1),
         ArgInt(args, 4, 1), moneyArg(args, 5), Arg(args, 6).toDouble(), moneyArg(args, 7),
         ArgInt(args, 8), idOrNull(args, 9)}));
    RefreshInvoiceSums(s, ArgInt(args, 3, -1));
    t.commit();
    return id;
}

}  // namespace

void RegisterSaleProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spSaleInsertInvoice"), spSaleInsertInvoice);
    registry.add(QStringLiteral("spSaleUpdateInvoice"), spSaleUpdateInvoice);
    registry.add(QStringLiteral("spSaleDeleteInvoice"), spSaleDeleteInvoice);
    registry.add(QStringLiteral("spSaleInsertInvoiceDetail"), spSaleInsertInvoiceDetail);
}

}  // namespace si::erpdb

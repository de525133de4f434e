// Procedures of the accounting ledger that postings call: a document header with its serial code,
// and its numbered detail rows.

#include "common/RowInserts.h"
#include "common/Session.h"
#include "common/TextLimits.h"
#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

namespace {

// As a varchar(2000) parameter, the description is cut to the column's length, never inside a
// surrogate pair.
QString description(const QVariantList& args, int index) {
    return CutText(Arg(args, index).toString(), LimitOf(TextField::DocumentDescription).length);
}

// new document ID (out), @Code (out), @CreatorID, @CreateDate, @FarsiCreateDate, @DocumentDate,
// @FarsiDocumentDate, @Value, @Description -> the document ID. The serial code is drawn under the
// writer lock (the caller's writer transaction when there is one), so two postings never share a
// code; the day number is the caller's to give.
QVariant spAccountInsertDocument(Session& s, QVariantList& args) {
    Transaction numbering = s.joinWriterTransaction();
    const int code =
        s.scalar(QStringLiteral("select coalesce(max(Code), 0) + 1 from tblAccountDocument"))
            .toInt();
    const qint64 id = s.insertReturningId(
        QStringLiteral("insert into tblAccountDocument (Code, CreatorID, CreateDate, "
                       "FarsiCreateDate, DocumentDate, FarsiDocumentDate, Value, Description, "
                       "IsFinalized, IsMerged, IsPreDocument) values (?,?,?,?,?,?,?,?,0,0,0) "
                       "RETURNING ID"),
        {code, Arg(args, 2), Arg(args, 3), Arg(args, 4), Arg(args, 5), Arg(args, 6),
         QVariant::fromValue(ArgMoney(args, 7)), description(args, 8)});
    numbering.commit();
    SetOut(args, 0, static_cast<int>(id));
    SetOut(args, 1, code);
    return static_cast<int>(id);
}

const QString kDetailInsert = QStringLiteral(
    "insert into tblAccountDocumentDetail (DocumentID, RowNumber, AccountID, TransactionDate, "
    "FarsiTransactionDate, Description, DocumentTypeID, AdditionalFormID, ContractID, PositionID, "
    "DebitValue, CreditValue, FormID, FormTypeID)");
constexpr int kDetailColumns = 14;

// @DocID, @RowNumber, @AccountID, @TransactionDate, @FarsiTransactionDate, @Description,
// @DocumentTypeID, @AdditionalFormID, @ContractID, @PositionID, @DebitValue, @CreditValue,
// @FormID, @FormTypeID -> the row's values.
Params detailValues(const QVariantList& args) {
    return {ArgInt(args, 0),
            ArgInt(args, 1),
            ArgInt(args, 2),
            Arg(args, 3),
            Arg(args, 4),
            description(args, 5),
            Arg(args, 6),
            Arg(args, 7),
            Arg(args, 8),
            Arg(args, 9),
            QVariant::fromValue(ArgMoney(args, 10)),
            QVariant::fromValue(ArgMoney(args, 11)),
            Arg(args, 12),
            Arg(args, 13)};
}

QVariant spAccountInsertDocumentDetail(Session& s, QVariantList& args) {
    RowInserts row(kDetailInsert, kDetailColumns);
    row.add(detailValues(args));
    row.exec(s);
    return 0;
}

// @Rows: a list of the single procedure's arguments, one entry a row, written together.
QVariant spAccountInsertDocumentDetails(Session& s, QVariantList& args) {
    RowInserts rows(kDetailInsert, kDetailColumns);
    for (const QVariant& row : Arg(args, 0).toList())
        rows.add(detailValues(row.toList()));
    if (!rows.isEmpty()) rows.exec(s);
    return 0;
}

}  // namespace

void RegisterDocumentProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spAccountInsertDocument"), spAccountInsertDocument);
    registry.add(QStringLiteral("spAccountInsertDocumentDetail"), spAccountInsertDocumentDetail);
    registry.add(QStringLiteral("spAccountInsertDocumentDetails"), spAccountInsertDocumentDetails);
}

}  // namespace si::erpdb

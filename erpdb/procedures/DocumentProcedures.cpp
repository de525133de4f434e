// Procedures of the accounting ledger that postings call: a document header with its serial code,
// and its numbered detail rows.

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
// writer lock (a savepoint of the caller's transaction when there is one), so two postings never
// share a code; the day number is the caller's to give.
QVariant spAccountInsertDocument(Session& s, QVariantList& args) {
    Transaction numbering = s.writerTransaction();
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

// @DocID, @RowNumber, @AccountID, @TransactionDate, @FarsiTransactionDate, @Description,
// @DocumentTypeID, @AdditionalFormID, @ContractID, @PositionID, @DebitValue, @CreditValue,
// @FormID, @FormTypeID
QVariant spAccountInsertDocumentDetail(Session& s, QVariantList& args) {
    s.exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, AccountID, "
                          "TransactionDate, FarsiTransactionDate, Description, DocumentTypeID, "
                          "AdditionalFormID, ContractID, PositionID, DebitValue, CreditValue, "
                          "FormID, FormTypeID) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
           {ArgInt(args, 0), ArgInt(args, 1), ArgInt(args, 2), Arg(args, 3), Arg(args, 4),
            description(args, 5), Arg(args, 6), Arg(args, 7), Arg(args, 8), Arg(args, 9),
            QVariant::fromValue(ArgMoney(args, 10)), QVariant::fromValue(ArgMoney(args, 11)),
            Arg(args, 12), Arg(args, 13)});
    return 0;
}

}  // namespace

void RegisterDocumentProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spAccountInsertDocument"), spAccountInsertDocument);
    registry.add(QStringLiteral("spAccountInsertDocumentDetail"), spAccountInsertDocumentDetail);
}

}  // namespace si::erpdb

#pragma once
// The inventory dispatch of a final invoice: one tblInventoryDispatch row tied to the invoice
// (form type 901), its lines summed per barcode and unit, its trace rows, its code within the
// inventory in receive-date order, and the form link 901 -> 802.
//
// SaveRelExitDoc runs inside the caller's writer transaction and opens none of its own, so the
// codes it reads and shifts stay gap-free and unique while other clerks save.

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

#include "common/Codes.h"
#include "common/Context.h"
#include "posting/InvoiceToPost.h"

namespace si {

class InventoryDispatch {
public:
    InventoryDispatch(Context& ctx, InvoiceToPost invoice);

    // Creates or refreshes the dispatch of the stored invoice; its ID, 0 when it was not made.
    int SaveRelExitDoc();
    // cmdInvExit: the dispatches made from the invoice (none: the message is shown).
    static QVector<int> DispatchesOfInvoice(Context& ctx, int invoiceId);

private:
    struct Numbering;  // where the dispatch's code is drawn from
    struct StoredDispatch {
        int id = 0;
        QVariant code;
        int inventory = -1;
    };
    Context& ctx() { return ctx_; }
    const InvoiceHeader& header() const { return invoice_.header(); }
    QString note() const;
    QVariantList headerValues();
    StoredDispatch insertDispatch();
    std::optional<StoredDispatch> storedDispatch();
    void closeGapOf(const StoredDispatch& dispatch);
    int nextCode(int dispatchId, const Numbering& n);
    void makeRoom(int dispatchId, int code, const Numbering& n);
    bool isFromDispatch();
    void relabel(int dispatchId, int code);
    void rewrite(int dispatchId, int code);
    void linkForms(int dispatchId);

    Context& ctx_;
    InvoiceToPost invoice_;
    // The invoice type's dispatch type, read once a run.
    std::optional<QVariant> dispatchType_;
};

}  // namespace si

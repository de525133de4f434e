#pragma once
// FormFromInventoryDispatch without its widgets: an inventory dispatch issued without a sale
// invoice becomes a new temporary invoice of its organisation, with its goods summed per barcode
// and unit, its trace rows handed over by the inventory-trace control, and the dispatch linked to
// the invoice.
//
// The dispatch is read, judged and turned into the invoice inside one writer transaction: two
// clerks never make two invoices of one dispatch, and a failure anywhere leaves no invoice and the
// dispatch unlinked. Messages wait until the transaction has ended.
//
// Goods that left on a dispatch were not paid at the counter: the invoice is a credit sale
// (IsPaidByCash 0), marked IsFromDispatch so that its final save relabels this dispatch instead of
// issuing another.

#include <QDate>
#include <QString>
#include <optional>

#include "common/Context.h"
#include "posting/DispatchNotes.h"

namespace si {

inline const QString kNoSuchDispatch = QStringLiteral("چنين برگه خروجي وجود ندارد.");
inline const QString kDispatchIsTemporary = QStringLiteral("اين برگه خروج در وضعيت موقت است.");
inline const QString kDispatchRefersElsewhere =
    QStringLiteral("اين برگه خروج به سند ديگري معطوف است.");
inline const QString kDispatchWithoutOrganization =
    QStringLiteral("سازمان مربوطه اين برگه خروج مشخص نيست.");
inline const QString kFinishedCaption = QStringLiteral("پايان كار");
// The trace control's ProgID (the inventory module's vorInvTrace).
inline const QString kDispatchTraceProgId = QStringLiteral("vorInvTrace.vorInvTracePpt1");
// Kept at most this long, the note of the link included.
inline constexpr int kDispatchNotesLimit = 1000;

// What the dialog asks: the dispatch's computer number (optID) or code (optCode, the default), the
// warehouse that narrows a code (sltInventory, -1 for none) and the invoice's date.
struct DispatchLookup {
    bool byCode = true;
    QString number;  // txtIDCode
    int inventoryId = -1;
    QDate createDate;  // invalid: today
};

// "فاكتور فروش  به شماره رايانهاي " + ID + " ايجاد شد"
QString InvoiceCreatedText(int invoiceId);

class InvoiceFromDispatch {
public:
    explicit InvoiceFromDispatch(Context& ctx) : ctx_(ctx) {}

    // cmdOK: the new invoice's ID, or nullopt after the message of the check or the failure.
    std::optional<int> cmdOK(const DispatchLookup& lookup);
    // The dispatch's warehouse, which the dialog puts into sltInventory; -1 when none.
    int dispatchInventory() const { return dispatchInventory_; }

private:
    struct Dispatch;
    std::optional<Dispatch> readDispatch(const DispatchLookup& lookup);
    std::optional<QString> refusal(const std::optional<Dispatch>& dispatch);
    int create(const Dispatch& d, const QDate& createDate);
    int insertInvoice(const Dispatch& d, const QDate& createDate);
    void copyBranch(const Dispatch& d, int invoiceId);
    void deriveTypeAndObject(const Dispatch& d, int invoiceId);
    void copyInventory(const Dispatch& d, int invoiceId);
    void copyLines(const Dispatch& d, int invoiceId);
    void handOverTraces(const Dispatch& d, int invoiceId);
    void linkDispatch(const Dispatch& d, int invoiceId);

    Context& ctx_;
    int dispatchInventory_ = -1;
};

}  // namespace si

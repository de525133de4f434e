#pragma once
// The invoice being edited: the header fields, the goods and free-goods lines, surcharges,
// deductions, totals and the form mode, in one object that the form shows and every service reads
// and changes. No service reads a widget; the form only mirrors this object.
//
// Field names follow the form's controls (sltCustomer, txtCode, ...) so that the rules, which are
// stated in terms of those controls, read the same here.

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

#include "common/Context.h"
#include "controls/SelectorModel.h"
#include "invoice/Invoice.h"
#include "invoice/LineTableModel.h"

namespace si {

// FormMode of the invoice form.
enum FormModeValue : int { kModeView = 0, kModeEdit = 1, kModeNew = 2, kModeCleared = 3 };

// Facts of the chosen inventory, read when it changes.
struct InventoryFacts {
    int StatusTypeID = 1;
    int ResponsibleID = -1;
    int InvCE = 0;  // stock must be checked (CheckExistance)
};

struct SurchargeRow {
    int SuchargeTypeID = -1;
    QString Name;
    Money Value;
};

struct DeductionRow {
    int ShortageTypeID = -1;
    QString Name;
    Money Value;
    double ShortagePercent = 0;
};

enum class MasterDiscountKind { Percent, Value };

// The plain fields of the invoice being edited; InvoiceDocument adds the look-up fields and the
// grids. Kept apart so that a command's undo copies them whole.
struct InvoiceDocumentFields {
    int FormMode = kModeCleared;
    bool loading =
        false;  // raised while FillData or a reset runs: handlers see the form as loading

    // Text fields, as the form shows them.
    QString txtID;  // computer number; empty for a new invoice
    // The stored row version when the invoice was read or last saved here; a save is refused
    // when the stored one has moved on since.
    int storedRowVersion = 0;
    QString txtCode;   // final code, "ندارد" for -1, empty while temporary
    QString txtGhabz;  // manual code
    QString txtNotes;
    QString txtCardNo;
    QString txtDistID;  // distribution document
    QString txtTime;
    QString txtLoanExpire;     // settlement days
    QString txtLoanExpireTag;  // the maximum term (from the pre-condition or the credit look-up)
    QString txtUsedCredit;
    QString txtRemCredit;
    QString txtRemCreditTag;  // credit days
    QString txtCreditPeriod;
    QString txtPrintCount;
    QString txtGrade;
    QString lblAccountIDVal;  // accounting document or cash turn of the invoice
    QString lblErrMessage;    // the flash line
    QString gbSaleTitle = QStringLiteral("فروش");
    QString distributerPathTag;
    QString achieverPathTag;

    QDate datCreateDate;
    QDate gdpDeliverDate;  // invalid when cleared
    QDate dtpClearDate;    // invalid when cleared
    QDate dtpTempDate;

    bool chkIsFormal = true;
    bool chkCheckEchantillon = true;
    bool chkShouldSMSSend = true;
    Qt::CheckState chkIsPrimaryMessage = Qt::Unchecked;

    QStringList messages;  // cmbMessage list (tblSaleMessage)
    int defaultMessageIndex = -1;
    QString cmbMessage;         // the chosen message text, empty when none
    QStringList scaleBarcodes;  // cmbScaleBarcode list

    MasterDiscountKind masterDiscountKind = MasterDiscountKind::Percent;
    // An automatic discount by invoice value holds the master discount: both options and boxes
    // are locked (set by ComputeGrandTotal).
    bool masterDiscountLocked = false;
    InvoiceTotals totals;
    QVector<SurchargeRow> surcharges;
    QVector<DeductionRow> deductions;

    // State kept beside the header.
    InvoiceTypeAccounts accounts;
    int Object1ClassID = -1;
    int Object2ClassID = -1;
    bool discountObject1 = false;  // the discount account takes object 1 / object 2
    bool discountObject2 = false;
    bool IsGoldSilverPlatinum = false;
    InventoryFacts inventory;
    double TaxPercent = 0;
    double AddedPercent = 0;
    int userBranchID = -1;
    int userPrimaryInventoryID = -1;
    int defaultCustomerID = -1;
    int formNumber210 = 0;
    QString basePath;
    QString rfidTag;  // the tag of the card last read

    // Shop-mode cash turn.
    int CashID = -1;
    int Turn = -1;
    QString cashTurnDescription;
    // What the customer handed over and the change to give back; a new invoice clears them.
    QString txtTempCustomerCash;
    QString txtTempCustomerCashReturn;
    int paymentPreset = -1;

    // The walk-in buyer typed with cmdCustomerName; walkInStored tells that the stored invoice
    // has one, so that a save which clears it removes the stored row and a save of an invoice that
    // never had one writes nothing for it.
    WalkInBuyer walkIn;
    bool walkInStored = false;
};

class InvoiceDocument : public QObject, public InvoiceDocumentFields {
    Q_OBJECT
public:
    explicit InvoiceDocument(Context& ctx, QObject* parent = nullptr);

    Context& ctx() { return *ctx_; }

    // Look-up fields.
    SelectorModel sltPricingMethod;
    SelectorModel sltCRMCardType;
    SelectorModel sltPaidByCash;
    SelectorModel sltCreatorEmployee;
    SelectorModel sltCreator;
    SelectorModel sltType;
    SelectorModel sltPromoter;
    SelectorModel sltPromoter2;
    SelectorModel sltCustomer;
    SelectorModel sltInventory;
    SelectorModel sltBranch;
    SelectorModel sltContract;
    SelectorModel sltDeliverType;
    SelectorModel sltIntroductionType;
    SelectorModel sltPreCond;
    SelectorModel sltObject1;
    SelectorModel sltObject2;
    SelectorModel sltAchiever;
    SelectorModel sltDistributer;
    QVector<SelectorModel*> selectors();

    LineTableModel flexDetail;
    LineTableModel flexEch;

    // The invoice identifier the form holds, -1 when none (ToNumber of txtID).
    int invoiceID() const;
    bool hasCode() const { return !txtCode.trimmed().isEmpty(); }
    // The invoice as a save by the current user stores it. The postings and the lines' discounts
    // by kind are left empty: the save derives them.
    Invoice toInvoice() const;
    // Clears the fields, lines and totals of the invoice (the data part of ResetForm); the
    // sticky fields (isSticky) keep their selection for the next invoice.
    void clear();
    bool isSticky(const SelectorModel* s) const;

    // Everything the form shows of the invoice. Copies are cheap: the strings and the lines are
    // shared until one side changes.
    struct Snapshot {
        InvoiceDocumentFields fields;
        QVector<SelectorModel::State> selectors;
        LineTableModel::State detail;
        LineTableModel::State ech;
    };
    Snapshot snapshot();
    // Puts a snapshot back without reading the database or running a change handler.
    void restore(const Snapshot& snapshot);

Q_SIGNALS:
    // The header fields changed without a selector's own signal (the form refreshes them).
    void headerChanged();
    void totalsChanged();
    void flash(const QString& text);

private:
    void clearFields();

    Context* ctx_;
};

// Runs one command on the document (a dialog's OK, a cell it edits): when the command fails, the
// document is put back as it was before and one message is shown (Guarded).
bool GuardedEdit(InvoiceDocument& doc, const std::function<void()>& command);

}  // namespace si

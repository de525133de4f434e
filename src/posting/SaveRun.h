#pragma once
// One run of SaveInvoice, split by its phases: the checks before anything is written
// (SaveChecks.cpp), the code of a final invoice (SaveCodes.cpp), the writing of the header and
// lines (SaveWrites.cpp) and the postings of a final save (SavePostings.cpp). The run lives for
// one call; what a phase learns for a later one (the wholesale flag, the approved renumbering,
// the new code) is kept here.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "common/Context.h"
#include "invoice/Invoice.h"
#include "posting/SaveLogic.h"

namespace si {

class SaveFront;
struct InvoiceServices;

// The inventory-trace control of the inventory module, reached by ProgID.
inline const QString kInventoryTraceProgId = QStringLiteral("vorInvTrace.vorInvTracePpt1");

// A save stopped inside the writer transaction by a decision taken again there; its text is the
// reason the clerk is shown.
class SaveRefused : public std::runtime_error {
public:
    explicit SaveRefused(const QString& reason) : std::runtime_error(reason.toStdString()) {}
};

class SaveRun {
public:
    SaveRun(InvoiceServices& services, SaveFront& front, SaveSeams& seams, bool IsFinal);
    ~SaveRun();

    // The checks, in their order, and the renumbering question; false after the message.
    bool RunChecks();
    // Inside the writer transaction: the code, the writing and the postings.
    void WriteAndPost(const std::function<void()>& afterHeaderWritten);
    // After the commit: mode 0, commands refreshed, focus on cmdNew.
    void FinishForm();

private:
    // Checks (SaveChecks.cpp, SaveChecksStock.cpp, SaveChecksTexts.cpp).
    bool stop(const QString& caption, const QString& text, const QString& focus = {});
    bool CheckRights();
    bool CheckTexts();  // SaveChecksTexts.cpp
    bool CheckCreditLevel();
    bool CheckLoanExpire();
    bool CheckRequiredFields();
    bool CheckLinePromoters();
    bool CheckCreditAndPromoters();
    bool CheckZeroPrices();
    bool CheckCustomerAndLines();
    bool CheckIntegerUnits();
    bool CheckInvoiceType();
    bool CheckInventoryOfType();
    bool HasDuplicateRows();
    bool CheckActiveInventory();
    bool CheckCustomerAccess();
    bool CheckForSale();
    bool CheckStock();
    std::optional<QString> StockShortage();
    bool CheckTraces();
    bool CheckCustomerAccount();
    bool CheckDebitCeiling();
    QString DebitCeilingMessage(bool object2WhenObject1IsCustomer);
    bool DebitCeilingRefuses() const;
    bool CheckCashTurn();
    bool CheckFinalizedDocuments();

    // The checks decided again under the writer lock (SaveRecheck.cpp).
    void ClaimStoredInvoice();
    void RecheckStock(const QVariant& lockMark);
    void RecheckDebitCeiling();

    // Codes (SaveCodes.cpp).
    QDateTime invoiceDate() const;
    bool AskRenumbering();
    void AssignCode();

    // Writing (SaveWrites.cpp).
    Params headerValues() const;
    void WriteHeader();
    void WriteHeaderDetails();
    void WriteLines();
    Params lineValues(const InvoiceLineItem& line) const;
    void SaveTraces(const QVector<int>& rows);
    void WriteWalkInBuyer();
    // Postings (SavePostings.cpp).
    void PostFinal();
    void MoveDistributionLines();
    void SendNotices();
    void SendSmsNotices();

    QObject* trace();
    bool IsCashSale() const;
    bool IsCreditSale() const { return !IsCashSale(); }
    bool shopMode() const;
    int invoiceID() const;

    SaveFront& front_;
    InvoiceDocument& doc_;
    InvoiceServices& services_;
    Context& ctx_;
    SaveSeams& seams_;
    bool IsFinal_;

    // The invoice as this save writes it, taken from the document once the checks have passed;
    // the writing and the postings read it, not the form's fields.
    Invoice invoice_;
    bool wholesale_ = false;
    QString typeName_;
    int customerAccountID_ = -1;
    bool renumberApproved_ = false;
    int newCode_ = -1;
    int savedRowVersion_ = 0;
    QVariant stockMark_;  // the session's commit mark when the check read the stock
    int documentID_ = 0;
    bool cashBooked_ = false;
    std::unique_ptr<QObject> trace_;
    bool traceMissing_ = false;
};

}  // namespace si

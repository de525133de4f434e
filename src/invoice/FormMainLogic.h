#pragma once
// The invoice form FormMain without its widgets: loading, the four modes and what each makes
// available, the commands that move between them, the keyboard shortcuts and the periodic
// refresh of the save commands. The header, lines, totals and save logic plug in through the
// seams below; the view (FormMain) shows the document and the Availability and forwards clicks
// and keys here.

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "invoice/Availability.h"
#include "invoice/FormMainUi.h"
#include "invoice/InvoiceEditor.h"

namespace si {

// Operations that other parts of the form provide; each has a working default.
struct FormSeams {
    std::function<void(bool isFinal)> SaveInvoice;  // the save with its checks
    std::function<void(bool preview)> Print;        // print or preview
    std::function<void()> Delete;                   // cmdDelete
    std::function<void()> BackToTemp;               // cmdBackToTemp
    std::function<void(int preset)> Payment;        // cmdGrandTotal, preset 1..4 or -1
    std::function<void()> CustomerName;             // cmdCustomerName (F12)
    std::function<void()> CashTurn;                 // Ctrl+K
    std::function<void()> CashFlow;                 // Ctrl+L
    std::function<void()> CashTurnPrint;            // the contents of the selected turn
    std::function<void()> CashPay;                  // a payment out of the selected turn
    std::function<void()> Lottery;                  // cmdLottery
    std::function<void()> CustomerPrint;   // cmdCustomerPrint: the customer's credit printout
    std::function<void()> Surcharges;      // cmdCost
    std::function<void()> Deductions;      // cmdDecs
    std::function<void()> ShowPromotions;  // cmdShowEch
    std::function<void()> ReadBeepFile;    // cmdReadFromBeepFile
    std::function<void()> SaveAccDoc;      // cmdSaveAccDoc: post the document again
    std::function<void()> InvExit;         // cmdInvExit: the invoice's dispatch
    std::function<QString()> ReadCardTag;  // cmdRFID: the tag of a staff card, empty if none
    // frmDescription over a free text under the title: OK hands the text to accept, which keeps
    // the dialog open by refusing it; cancel leaves everything as it was.
    std::function<void(const QString& title, const QString& text,
                       const std::function<bool(const QString&)>& accept)>
        EditText;
    // The commands of the linked modules (the siblings' launchers, the account turnover), by
    // the control's name.
    QHash<QString, std::function<void()>> linkedCommands;
};

// Commands shown by the form whose work belongs to modules not in this version yet: they say so.
inline const QStringList kLaterCommands = {QStringLiteral("cmdNewCustomer")};

// The invoice form's title under the parameters (the shop's form says so); the printed invoice
// carries it too.
QString InvoiceFormTitle(const SystemParameters& params);

// The form's buttons that the linked modules serve; without them installed they say so.
inline const QStringList kLinkedCommands = {
    QStringLiteral("cmdBoxReceive"),   QStringLiteral("cmdReceive"),
    QStringLiteral("cmdRPDRecieve"),   QStringLiteral("cmdRPDCashRec"),
    QStringLiteral("cmdRPDRecDiv"),    QStringLiteral("cmdBoxReceiveGroup"),
    QStringLiteral("cmdRPDGenRec"),    QStringLiteral("cmdAccTrans"),
    QStringLiteral("cmdAssignment"),   QStringLiteral("cmdViewAccountDetails"),
    QStringLiteral("cmdFromDispatch"), QStringLiteral("cmdChangeQty")};

class FormMainLogic : public QObject {
    Q_OBJECT
public:
    explicit FormMainLogic(Context& ctx, QObject* parent = nullptr);
    ~FormMainLogic() override;

    void setUi(FormMainUi* ui) { ui_ = ui; }
    FormMainUi* ui() const { return ui_; }
    InvoiceDocument& doc() { return doc_; }
    InvoiceServices& services() { return *services_; }
    InvoiceEditor& editor() { return editor_; }
    FormSeams seams;
    Context& ctx() { return *ctx_; }

    // Form_Load, in its order. Safe to call once per form.
    void Form_Load();
    bool isLoaded() const { return editor_.isPrepared(); }

    // Entry points (called by the component): both load the form first. Return false.
    bool ViewInvoice(int id);
    bool ClearShow();

    bool ShowInvoiceByID(int id);
    void StartNewInvoice();
    void StartNewEntry();
    void StartEditInvoice(int id);
    void ResetForm();
    void ApplyMode();

    const Availability& availability() const { return availability_; }
    QString formTitle() const;
    int FormMode() const { return doc_.FormMode; }

    // Commands; each acts only when available.
    void cmdNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void cmdSearch_Click();
    void cmdTempSave_Click();
    void cmdFinalSave_Click();
    void cmdPrint_Click();
    void cmdView_Click();
    void cmdDelete_Click();
    void cmdBackToTemp_Click();
    void cmdGrandTotal_Click();
    void cmdNewRelationship_Click();
    void cmdRelatedForms_Click();
    // Enter in txtTempCustomerCash: the change, when the cash covers the grand total.
    void txtTempCustomerCash_Enter();
    // A turn chosen in cmbCashTurn (-1: none).
    void cmbCashTurn_Click(int index);
    // Reads the open turns again (after the turn manager closes).
    void RefillCashTurns();
    // Edits the template of the customer's text message (parameter 5003).
    void cmdShouldSMSSend_Click();
    // Says a command of a module not in this version is not available yet.
    void notAvailable();
    // Runs a command by its control name when it is available; false when it is not.
    bool runCommand(const QString& control);
    // The boundary of everything the clerk starts on the form (a click, a key, a field's change,
    // a cell, a tick): when it fails, the document, the mode and the availability are put back
    // as they were before it and one message is shown. False when it failed.
    bool guarded(const std::function<void()>& command);

    // Keyboard shortcuts (Qt key codes and modifiers); true when the key was used.
    bool RouteKeys(int key, Qt::KeyboardModifiers modifiers);
    // Whether RouteKeys takes the key, whatever the mode: the form sees it before its fields.
    static bool IsFormKey(int key, Qt::KeyboardModifiers modifiers);
    // One tick of the refresh timer.
    void RefreshTimer_Timer();
    // Form_Activate: where the focus goes.
    QString activationFocus() const;
    // Where the focus moves on when the Exit button receives it.
    QString exitFocusTarget() const;
    // Form_Unload.
    void Form_Unload();

    bool finalSaveAndPrintGuard() const { return f10Guard_; }
    int paymentPreset() const { return doc_.paymentPreset; }

Q_SIGNALS:
    void CreateNewRelationship(int FormTypeID, int FormID);
    void ShowRelationships(int FormTypeID, int FormID);
    void SendSMS(const QString& inCellPhone, const QString& inMessage);
    void PrintByDotNet(QString& outTemplateFileName, QString& outOLEConnectionString,
                       QString& outFormulas, QString& outSQLQuery, bool& DoPreview);
    void modeApplied();
    void unloaded();

private:
    bool runCustomerCommand(const QString& control);
    bool storeCustomerSmsTemplate(const QString& text);
    bool editChecksPass();
    // What the invoice was when entry or editing began: Edit asks before it discards changes.
    void markEntryStart();
    bool hasUnsavedChanges() const;
    bool discardAsked();
    bool isAvailable(const QString& control) const { return availability_.isEnabled(control); }
    void applyModeAvailability(bool code, Availability& a);
    void applyRightsAvailability(Availability& a);
    void applyRefreshRule(Availability& a) const;
    void applyLoadVisibility(Availability& a) const;
    bool routeControlKey(int key);
    void refreshUi();
    void runF10();

    Context* ctx_;
    InvoiceEditor editor_;
    InvoiceDocument& doc_;
    InvoiceServices* services_;
    FormMainUi* ui_ = nullptr;
    Availability availability_;
    bool f10Guard_ = true;
    bool masterDiscountRight_ = false;  // right 90110, asked once per ApplyMode
    std::optional<Invoice> entryStart_;
};

}  // namespace si

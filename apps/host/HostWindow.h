#pragma once
// The ERP shell's window: comSaleInvoice1 in the middle, a menu and a toolbar with the entry
// methods, the outbox and its sender, and the answers to the control's events (HostEvents with
// the dialogs as its presenters). Closing the window, by Exit or otherwise, closes the invoice
// forms first and then runs onExit (the host writes the property bag there).

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "apps/host/HostEvents.h"
#include "apps/host/Login.h"
#include "apps/host/Outbox.h"
#include "apps/host/SmsSender.h"

class QAction;
class QLabel;
class QMenu;
class QSettings;
class QTimer;

namespace si {
class ComponentRegistry;
class Session;
class FormMain;
class ProcedureRegistry;
}  // namespace si

namespace si::host {

// The menu's new invoice: the control's ClearShow, then the form's New, so the clerk finds a new
// invoice with its defaults and the focus where the first code is scanned. The form, or null when
// the control opened none; a form without the right to New stays cleared (its message was shown).
FormMain* StartNewSale(comSaleInvoice1& control);

// The menu's invoice from a dispatch: the control's ClearShow, then the form's cmdFromDispatch,
// which loads the new invoice for editing. The form, or null when the control opened none.
FormMain* StartSaleFromDispatch(comSaleInvoice1& control);

// The menu's View of a number that names no invoice is refused by the host with this text,
// before the control opens a form for it; nullopt for a stored invoice.
std::optional<QString> ViewRefusal(Session& db, int invoiceId);

// The administrator's check of the form events' signed chain: whether it holds, and the Persian
// text of what was found (a missing key file is said so, not thrown).
struct EventChainCheckResult {
    bool intact = false;
    QString text;
};
EventChainCheckResult CheckEventChain(Session& db);

class OutboxWindow;

class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    HostWindow(ComponentRegistry& components, const ProcedureRegistry& procedures,
               QWidget* parent = nullptr);
    ~HostWindow() override;

    comSaleInvoice1& control() { return *control_; }
    Outbox& outbox() { return outbox_; }
    HostEvents& events() { return *events_; }
    void showSession(const QString& connection, const UserAccount& user);

    // Starts sending the outbox through the gateway of settings, on a session of the host's own
    // to the control's database (after the login). settings outlives the window.
    void startOutbox(QSettings& settings);
    // The sender, null before startOutbox or when its database could not be opened.
    SmsSender* smsSender() { return sender_.get(); }
    // Checks, stores and uses a new gateway template; the refusal in Persian, else empty.
    QString setSmsGateway(const QString& urlTemplate);
    // What the outbox window says about sending.
    QString outboxStatus() const;
    // Stores held messages, sends what is due and reads the outbox again; the timer's work.
    void pumpOutbox();

    std::function<void()> onExit;

    void viewInvoice();
    void newInvoice();
    void invoiceFromDispatch();
    void searchInvoice();
    void viewTempList();
    void viewFinalList();
    void viewBatchFinalList();
    void showOutbox();
    void showPosSetting();
    // The menu's check of the event chain, offered to an administrator only (showSession).
    void verifyEventChain();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void addVerifyEventsAction(QMenu* menu);
    void installPresenters();
    QWidget* dialogParent();
    // Runs an entry method; a database error is shown, not thrown into the event loop.
    void entry(const std::function<void()>& call);
    // The host's own look-ups (the control's session opens only with its entry methods).
    Session& lookups();
    bool closeInvoiceForms();
    void refreshOutbox();
    void editSmsGateway();

    Outbox outbox_;
    comSaleInvoice1* control_ = nullptr;
    std::unique_ptr<HostEvents> events_;
    QPointer<OutboxWindow> outboxWindow_;
    std::unique_ptr<Session> lookups_;
    // After lookups_, whose session it sends on.
    std::unique_ptr<SmsSender> sender_;
    QSettings* settings_ = nullptr;
    QTimer* outboxTimer_ = nullptr;
    QString outboxProblem_;  // why the sender could not start
    QLabel* sessionLabel_ = nullptr;
    QAction* verifyEventsAction_ = nullptr;
};

}  // namespace si::host

#include "apps/host/HostWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <limits>

#include "apps/host/HostDialogs.h"
#include "apps/host/SmsGateway.h"
#include "common/AuditKey.h"
#include "common/CommandGuard.h"
#include "common/ConnectionString.h"
#include "common/EventChainCheck.h"
#include "common/FoldedText.h"
#include "common/Session.h"
#include "common/SqlError.h"
#include "component/comSaleInvoice1.h"
#include "invoice/ui/FormMain.h"

namespace si::host {

namespace {

// Often enough that a message another workstation stored goes out soon, and the window shows
// other hosts' sending; the statement behind an idle tick reads an index and finds nothing.
constexpr int kOutboxTickMs = 5000;

}  // namespace

HostWindow::HostWindow(ComponentRegistry& components, const ProcedureRegistry& procedures,
                       QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("HostWindow"));
    setWindowTitle(QStringLiteral("سيستم فروش - فاکتور فروش"));
    setLayoutDirection(Qt::RightToLeft);
    control_ = new comSaleInvoice1(components, procedures, this);
    setCentralWidget(control_);
    events_ = std::make_unique<HostEvents>(*control_, outbox_);
    installPresenters();
    buildActions();
    sessionLabel_ = new QLabel(this);
    statusBar()->addWidget(sessionLabel_, 1);
    outboxTimer_ = new QTimer(this);
    connect(outboxTimer_, &QTimer::timeout, this, &HostWindow::pumpOutbox);
    resize(1000, 640);
}

HostWindow::~HostWindow() {
    delete outboxWindow_;
}

void HostWindow::buildActions() {
    struct Entry {
        const char* name;
        QString text;
        void (HostWindow::*slot)();
        QKeySequence key;
    };
    const Entry entries[] = {
        {"actViewInvoice", QStringLiteral("مشاهده فاکتور"), &HostWindow::viewInvoice,
         QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"actNewInvoice", QStringLiteral("فاکتور جديد"), &HostWindow::newInvoice,
         QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"actFromDispatch", QStringLiteral("فاکتور از برگه خروج"), &HostWindow::invoiceFromDispatch,
         QKeySequence()},
        {"actSearch", QStringLiteral("جستجو"), &HostWindow::searchInvoice,
         QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"actTempList", QStringLiteral("فاکتورهاي موقت"), &HostWindow::viewTempList,
         QKeySequence(Qt::CTRL | Qt::Key_T)},
        {"actFinalList", QStringLiteral("فاکتورهاي نهايي"), &HostWindow::viewFinalList,
         QKeySequence(Qt::CTRL | Qt::Key_L)},
        {"actBatchFinal", QStringLiteral("ثبت نهايي گروهي"), &HostWindow::viewBatchFinalList,
         QKeySequence()},
        {"actOutbox", kOutboxTitle, &HostWindow::showOutbox, QKeySequence()},
        {"actPosSetting", QStringLiteral("تنظيمات دستگاه پوز"), &HostWindow::showPosSetting,
         QKeySequence()},
        {"actExit", QStringLiteral("خروج"), nullptr, QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    QMenu* menu = menuBar()->addMenu(QStringLiteral("فاکتور فروش"));
    QToolBar* bar = addToolBar(QStringLiteral("فرمان ها"));
    bar->setObjectName(QStringLiteral("tbrCommands"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setMovable(false);
    for (const Entry& e : entries) {
        auto* action = new QAction(e.text, this);
        action->setObjectName(QString::fromLatin1(e.name));
        action->setShortcut(e.key);
        if (e.slot)
            connect(action, &QAction::triggered, this, e.slot);
        else
            connect(action, &QAction::triggered, this, &QWidget::close);
        if (e.slot == nullptr) {
            addVerifyEventsAction(menu);
            menu->addSeparator();
        }
        menu->addAction(action);
        bar->addAction(action);
    }
}

// Hidden until an administrator logs in (showSession): the check is the administrator's.
void HostWindow::addVerifyEventsAction(QMenu* menu) {
    verifyEventsAction_ = new QAction(QStringLiteral("بررسي زنجيره رويدادها"), this);
    verifyEventsAction_->setObjectName(QStringLiteral("actVerifyEvents"));
    verifyEventsAction_->setVisible(false);
    verifyEventsAction_->setEnabled(false);
    connect(verifyEventsAction_, &QAction::triggered, this, &HostWindow::verifyEventChain);
    menu->addAction(verifyEventsAction_);
}

EventChainCheckResult CheckEventChain(Session& db) {
    const std::optional<QByteArray> key = ReadAuditKey();
    if (!key) return {false, MissingAuditKeyMessage()};
    const EventChainReport report = VerifyEventChain(db, *key);
    return {report.intact(), report.message};
}

void HostWindow::verifyEventChain() {
    entry([this] {
        const EventChainCheckResult result = CheckEventChain(lookups());
        const QString caption = QStringLiteral("بررسي زنجيره رويدادها");
        if (result.intact)
            QMessageBox::information(this, caption, result.text);
        else
            QMessageBox::warning(this, caption, result.text);
    });
}

QWidget* HostWindow::dialogParent() {
    // Events come from the invoice form: its dialogs belong over it, not behind it.
    QWidget* active = QApplication::activeWindow();
    return active ? active : this;
}

void HostWindow::installPresenters() {
    events_->showPrintRequest = [this](const PrintRequest& request) {
        PrintRequestDialog dialog(request, dialogParent());
        dialog.exec();
    };
    events_->askRelatedForm = [this](FormRef form) {
        return NewRelationshipDialog::ask(form, dialogParent());
    };
    events_->showRelationships = [this](FormRef form, const std::vector<RelatedFormRow>& rows) {
        RelationshipsDialog dialog(form, rows, dialogParent());
        dialog.exec();
    };
    events_->showError = [this](const QString& message) {
        QMessageBox::warning(dialogParent(), QStringLiteral("خطا"), message);
    };
}

void HostWindow::showSession(const QString& connection, const UserAccount& user) {
    QString database = ConnectionString::redacted(connection);
    try {
        const ConnectionString cs = ConnectionString::parse(connection);
        database = cs.dialect == Dialect::SQLite ? cs.dataSource : cs.server + '/' + cs.database;
    } catch (const std::exception&) {
    }
    sessionLabel_->setText(QStringLiteral("کاربر: %1    پايگاه داده: %2")
                               .arg(user.FullName.isEmpty() ? user.UserName : user.FullName,
                                    LeftToRightText(database)));
    verifyEventsAction_->setVisible(user.IsAdmin);
    verifyEventsAction_->setEnabled(user.IsAdmin);
}

void HostWindow::entry(const std::function<void()>& call) {
    try {
        call();
    } catch (const SqlError& e) {
        QMessageBox::critical(this, QStringLiteral("خطا"), DatabaseErrorText(e));
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("خطا"), QString::fromUtf8(e.what()));
    }
}

std::optional<QString> ViewRefusal(Session& db, int invoiceId) {
    const bool stored =
        db.scalar(QStringLiteral("select count(*) from tblSaleInvoice where ID = ?"), {invoiceId})
            .toInt() > 0;
    if (stored) return std::nullopt;
    return QStringLiteral("فاكتوري با شماره رايانه اي %1 ثبت نشده است.").arg(invoiceId);
}

Session& HostWindow::lookups() {
    if (!lookups_) lookups_ = Session::openExisting(control_->OLEConnectionString());
    return *lookups_;
}

void HostWindow::viewInvoice() {
    bool ok = false;
    int id = QInputDialog::getInt(this, QStringLiteral("مشاهده فاکتور"),
                                  QStringLiteral("شماره رايانهاي فاكتور:"), 1, 1,
                                  std::numeric_limits<int>::max(), 1, &ok);
    if (!ok) return;
    entry([this, &id] {
        if (const auto refusal = ViewRefusal(lookups(), id)) {
            QMessageBox::information(this, QStringLiteral("مشاهده فاکتور"), *refusal);
            return;
        }
        control_->View(id);
    });
}

FormMain* StartNewSale(comSaleInvoice1& control) {
    control.ClearShow();
    FormMain* form = control.myFrm();
    if (form) form->logic().runCommand(QStringLiteral("cmdNew"));
    return form;
}

void HostWindow::newInvoice() {
    entry([this] { StartNewSale(*control_); });
}

FormMain* StartSaleFromDispatch(comSaleInvoice1& control) {
    control.ClearShow();
    FormMain* form = control.myFrm();
    if (form) form->logic().runCommand(QStringLiteral("cmdFromDispatch"));
    return form;
}

void HostWindow::invoiceFromDispatch() {
    entry([this] { StartSaleFromDispatch(*control_); });
}

void HostWindow::searchInvoice() {
    entry([this] { control_->SearchInvoice(); });
}

void HostWindow::showPosSetting() {
    entry([this] { control_->PosSetting(); });
}

void HostWindow::viewTempList() {
    control_->setWhereClause({});
    entry([this] { control_->ViewTempDocs(); });
}

void HostWindow::viewFinalList() {
    control_->setWhereClause({});
    entry([this] { control_->ViewFinalDocs(); });
}

// The temp invoices up to a total the supervisor names, with the batch commands. The clause is
// written here from a number, never from typed text.
void HostWindow::viewBatchFinalList() {
    bool ok = false;
    const QString typed = QInputDialog::getText(this, QStringLiteral("ثبت نهايي گروهي"),
                                                QStringLiteral("فاکتورهاي موقت تا مبلغ (ريال):"),
                                                QLineEdit::Normal, QStringLiteral("50000000"), &ok);
    if (!ok) return;
    bool number = false;
    const qulonglong limit = FoldedText(typed.trimmed()).toULongLong(&number);
    if (!number) {
        QMessageBox::warning(this, QStringLiteral("ثبت نهايي گروهي"),
                             QStringLiteral("مبلغ بايد عدد باشد."));
        return;
    }
    control_->setWhereClause(QStringLiteral(" and TotalValue <= ") + QString::number(limit));
    entry([this] { control_->ViewTempDocs(); });
}

void HostWindow::showOutbox() {
    if (!outboxWindow_) {
        outboxWindow_ = new OutboxWindow(outbox_);
        connect(outboxWindow_, &OutboxWindow::gatewayEditRequested, this,
                &HostWindow::editSmsGateway);
    }
    refreshOutbox();
    outboxWindow_->show();
    outboxWindow_->raise();
    outboxWindow_->activateWindow();
}

void HostWindow::startOutbox(QSettings& settings) {
    settings_ = &settings;
    try {
        Session& db = lookups();
        sender_ = std::make_unique<SmsSender>(db);
    } catch (const SqlError& e) {
        outboxProblem_ = DatabaseErrorText(e);
        return;
    } catch (const std::exception& e) {
        outboxProblem_ = QString::fromUtf8(e.what());
        return;
    }
    sender_->setGateway(ReadSmsGateway(settings));
    connect(sender_.get(), &SmsSender::changed, this, &HostWindow::refreshOutbox);
    // Queued: the event that stored the message ends before the first request starts.
    connect(events_.get(), &HostEvents::smsStored, sender_.get(), &SmsSender::tick,
            Qt::QueuedConnection);
    outboxTimer_->start(kOutboxTickMs);
    pumpOutbox();
}

QString HostWindow::setSmsGateway(const QString& urlTemplate) {
    const QString problem = SmsGatewayProblem(urlTemplate);
    if (!problem.isEmpty()) return problem;
    if (settings_) StoreSmsGateway(*settings_, urlTemplate);
    if (sender_) {
        sender_->setGateway(urlTemplate);
        sender_->tick();
    }
    refreshOutbox();
    return {};
}

// The gateway is named by its server only: a template may carry the account's password.
QString HostWindow::outboxStatus() const {
    if (!sender_)
        return outboxProblem_.isEmpty()
                   ? QStringLiteral("ارسال پيامك پس از ورود به سيستم آغاز مي شود.")
                   : QStringLiteral("ارسال پيامك ممكن نيست: ") + outboxProblem_;
    if (sender_->gateway().isEmpty())
        return QStringLiteral("درگاه ارسال پيامك تنظيم نشده است؛ پيامها در انتظار مي مانند.");
    if (!sender_->hasGateway()) return SmsGatewayProblem(sender_->gateway());
    if (!sender_->problem().isEmpty()) return sender_->problem();
    const QUrl url = SmsRequestUrl(sender_->gateway(), {}, {});
    return QStringLiteral("درگاه ارسال پيامك: ") +
           LeftToRightText(url.host() +
                           (url.port() > 0 ? QStringLiteral(":%1").arg(url.port()) : QString()));
}

void HostWindow::pumpOutbox() {
    if (!sender_) return;
    outbox_.storeHeld(*lookups_);
    sender_->tick();
    // Other hosts' sending shows while the window is open; this host's shows as it happens.
    if (outboxWindow_ && outboxWindow_->isVisible()) refreshOutbox();
}

void HostWindow::refreshOutbox() {
    QString status = outboxStatus();
    if (lookups_) {
        try {
            outbox_.reload(*lookups_);
        } catch (const SqlError& e) {
            status = DatabaseErrorText(e);
        }
    }
    if (outboxWindow_) outboxWindow_->showStatus(status);
}

void HostWindow::editSmsGateway() {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(outboxWindow_, QStringLiteral("درگاه پيامك"),
                              QStringLiteral("نشاني درگاه با {phone} و {text}، مثلا "
                                             "http://127.0.0.1:9000/send?to={phone}&text={text}"),
                              QLineEdit::Normal, sender_ ? sender_->gateway() : QString(), &ok);
    if (!ok) return;
    const QString problem = setSmsGateway(typed);
    if (!problem.isEmpty())
        QMessageBox::warning(outboxWindow_, QStringLiteral("درگاه پيامك"), problem);
}

bool HostWindow::closeInvoiceForms() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || w == outboxWindow_ || !w->isVisible()) continue;
        if (!w->close()) return false;  // a form that keeps its unsaved invoice open
    }
    return true;
}

void HostWindow::closeEvent(QCloseEvent* event) {
    if (!closeInvoiceForms()) {
        event->ignore();
        return;
    }
    if (outboxWindow_) outboxWindow_->close();
    if (onExit) onExit();
    event->accept();
}

}  // namespace si::host

#include "invoice/ui/FormMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <algorithm>

#include "common/Numbers.h"
#include "controls/ui/JalaliDateEdit.h"
#include "invoice/LinesLogic.h"
#include "invoice/ui/FrmKeyMap.h"
#include "invoice/ui/LineColumnLayout.h"

namespace si {

FormMain::FormMain(Context& ctx, QWidget* parent)
    : QWidget(parent), logic_(std::make_unique<FormMainLogic>(ctx)) {
    setObjectName(QStringLiteral("FormMain"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setLayoutDirection(Qt::RightToLeft);
    logic_->setUi(this);
    buildForm();
    connectEdits();
    connectEntry();
    connectDialogs();
    connectCashTurn();
    // Keys and focus of every widget of the form, the grid's cell editors included, pass here
    // first.
    qApp->installEventFilter(this);
    connect(logic_.get(), &FormMainLogic::CreateNewRelationship, this,
            &FormMain::CreateNewRelationship);
    connect(logic_.get(), &FormMainLogic::ShowRelationships, this, &FormMain::ShowRelationships);
    connect(logic_.get(), &FormMainLogic::SendSMS, this, &FormMain::SendSMS);
    connect(logic_.get(), &FormMainLogic::PrintByDotNet, this, &FormMain::PrintByDotNet,
            Qt::DirectConnection);
    // A refusal the clerk need not answer: shown with a sound until the next key, so that a
    // scanner is never stopped by a box.
    connect(&logic_->doc(), &InvoiceDocument::flash, this, [this](const QString& text) {
        lblErrMessage_->setText(text);
        QApplication::beep();
    });
    refreshTimer_.setInterval(500);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] {
        // A tick that fails waits for the next command that succeeds: one message, not one a tick.
        if (!run([this] { logic_->RefreshTimer_Timer(); })) refreshTimer_.stop();
    });
    fitTheScreen();
}

// As large as a till screen of 1366x768 allows, never larger than the screen it opens on.
void FormMain::fitTheScreen() {
    QSize size = sizeHint().expandedTo(QSize(1280, 700));
    if (const QScreen* s = screen()) size = size.boundedTo(s->availableGeometry().size());
    resize(size);
}

FormMain::~FormMain() {
    qApp->removeEventFilter(this);
    logic_->setUi(nullptr);
}

void FormMain::connectEdits() {
    InvoiceDocument& d = logic_->doc();
    // Every keystroke reaches the document, so a command started from the field (a key, a click
    // that leaves the focus there) finds the text as typed, and the view shows it back unchanged.
    auto bindText = [this](const char* name, QString InvoiceDocumentFields::*field) {
        QLineEdit* e = texts_.value(QString::fromLatin1(name));
        connect(e, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { logic_->doc().*field = text; });
    };
    bindText("txtGhabz", &InvoiceDocumentFields::txtGhabz);
    bindText("txtNotes", &InvoiceDocumentFields::txtNotes);
    bindText("txtCardNo", &InvoiceDocumentFields::txtCardNo);
    bindText("txtLoanExpire", &InvoiceDocumentFields::txtLoanExpire);
    connect(dates_.value(QStringLiteral("gdpDeliverDate")), &JalaliDateEdit::dateChanged, this,
            [&d](const QDate& date) { d.gdpDeliverDate = date; });
    connect(dates_.value(QStringLiteral("dtpClearDate")), &JalaliDateEdit::dateChanged, this,
            [&d](const QDate& date) { d.dtpClearDate = date; });
    connect(checks_.value(QStringLiteral("chkIsFormal")), &QCheckBox::toggled, this,
            [&d](bool on) { d.chkIsFormal = on; });
    connect(checks_.value(QStringLiteral("chkCheckEchantillon")), &QCheckBox::toggled, this,
            [&d](bool on) { d.chkCheckEchantillon = on; });
    connect(checks_.value(QStringLiteral("chkShouldSMSSend")), &QCheckBox::toggled, this,
            [&d](bool on) { d.chkShouldSMSSend = on; });
    connect(cmbMessage_, &QComboBox::currentTextChanged, this, [this, &d](const QString& text) {
        if (!showing_) d.cmbMessage = text;
    });
    connect(&d, &InvoiceDocument::headerChanged, this, &FormMain::refreshView);
    connect(&d, &InvoiceDocument::totalsChanged, this, &FormMain::refreshView);
    connect(&d.flexDetail, &LineTableModel::widthsChanged, this, &FormMain::refreshView);
}

void FormMain::showHeader() {
    const InvoiceDocument& d = logic_->doc();
    const std::pair<const char*, const QString*> fields[] = {
        {"txtID", &d.txtID},
        {"txtCode", &d.txtCode},
        {"txtGhabz", &d.txtGhabz},
        {"txtNotes", &d.txtNotes},
        {"txtCardNo", &d.txtCardNo},
        {"txtDistID", &d.txtDistID},
        {"txtTime", &d.txtTime},
        {"txtLoanExpire", &d.txtLoanExpire},
        {"txtUsedCredit", &d.txtUsedCredit},
        {"txtRemCredit", &d.txtRemCredit},
        {"txtCreditPeriod", &d.txtCreditPeriod},
        {"txtPrintCount", &d.txtPrintCount},
        {"txtGrade", &d.txtGrade}};
    for (const auto& [name, value] : fields)
        texts_.value(QString::fromLatin1(name))->setText(*value);
    dates_.value(QStringLiteral("datCreateDate"))->setDate(d.datCreateDate);
    dates_.value(QStringLiteral("gdpDeliverDate"))->setDate(d.gdpDeliverDate);
    dates_.value(QStringLiteral("dtpClearDate"))->setDate(d.dtpClearDate);
    checks_.value(QStringLiteral("chkIsFormal"))->setChecked(d.chkIsFormal);
    checks_.value(QStringLiteral("chkCheckEchantillon"))->setChecked(d.chkCheckEchantillon);
    checks_.value(QStringLiteral("chkShouldSMSSend"))->setChecked(d.chkShouldSMSSend);
    if (cmbMessage_->count() != d.messages.size()) {
        cmbMessage_->clear();
        cmbMessage_->addItems(d.messages);
    }
    cmbMessage_->setCurrentIndex(static_cast<int>(d.messages.indexOf(d.cmbMessage)));
    cmbScaleBarcode_->clear();
    cmbScaleBarcode_->addItems(d.scaleBarcodes);
    cmbScaleBarcode_->setCurrentText(QString());
    lblAccountIDVal_->setText(accountLabelText(d.lblAccountIDVal));
    gbSale_->setTitle(d.gbSaleTitle);
}

// The bare number beside the check boxes says what it is: the cash turn a shop's sale was booked
// into, or the invoice's accounting document.
QString FormMain::accountLabelText(const QString& value) {
    if (value.isEmpty()) return {};
    const bool shop = logic_->ctx().params.flag(P::ShopMode);
    return (shop ? QStringLiteral("صندوق و نوبت: ") : QStringLiteral("سند حسابداري: ")) + value;
}

void FormMain::showTotals() {
    const InvoiceTotals& t = logic_->doc().totals;
    const std::pair<const char*, Money> boxes[] = {
        {"txtTotalPurePriceLock", t.TotalPurePrice},
        {"txtTotalRowDiscount", t.TotalRowDiscount},
        {"txtTotalPriceLock", t.TotalPrice},
        {"txtTotalDiscountValue", t.TotalDiscountValue},
        {"txtSuCharge", t.SuCharge},
        {"txtDecs", t.Decs},
        {"txtTax", t.Tax},
        {"txtAdded", t.Added},
        {"txtRoundDown", t.RoundDown},
        {"txtGrandTotalLock", t.GrandTotal},
        {"txtPureTotalValue", t.PureTotalValue},
        {"txtMasterDiscountValue", t.MasterDiscountValue}};
    for (const auto& [name, value] : boxes)
        texts_.value(QString::fromLatin1(name))
            ->setText(t.shown || !value.isZero() ? FormatAmount(value) : QString());
    texts_.value(QStringLiteral("txtMasterDiscountPercent"))
        ->setText(t.shown || t.MasterDiscountPercent != 0 ? QString::number(t.MasterDiscountPercent)
                                                          : QString());
    const bool percent = logic_->doc().masterDiscountKind == MasterDiscountKind::Percent;
    optPercent_->setChecked(percent);
    optValue_->setChecked(!percent);
}

void FormMain::applyAvailability() {
    const Availability& a = logic_->availability();
    setWindowTitle(a.title);
    for (auto it = a.enabled().constBegin(); it != a.enabled().constEnd(); ++it)
        if (auto* w = findChild<QWidget*>(it.key())) w->setEnabled(it.value());
    for (auto it = a.visible().constBegin(); it != a.visible().constEnd(); ++it)
        if (auto* w = findChild<QWidget*>(it.key())) {
            w->setVisible(it.value());
            if (auto* l = findChild<QLabel*>(QStringLiteral("lbl") + it.key().mid(3)))
                l->setVisible(it.value());
        }
    txtGoodsPicker_->setEnabled(a.gridEditable);
    arrangeCommands();
    showLineColumns(*flexDetail_, logic_->doc().flexDetail);
    showLineColumns(*flexEch_, logic_->doc().flexEch);
    echBox_->setVisible(logic_->doc().flexEch.filledCount() > 0);
}

// A column gets its width when it comes into view; after that the clerk's resizing stands.
void FormMain::showLineColumns(QTableView& view, const LineTableModel& model) {
    for (int c = 0; c < Col::Count; ++c) {
        const bool hidden = model.isColumnHidden(c);
        if (hidden == view.isColumnHidden(c)) continue;
        view.setColumnHidden(c, hidden);
        if (!hidden)
            view.setColumnWidth(c, LineColumnWidth(view.fontMetrics(), c, model.columnWidth(c)));
    }
}

void FormMain::refreshView() {
    if (showing_) return;
    showing_ = true;
    showHeader();
    showTotals();
    showCashTurn();
    applyAvailability();
    lblErrMessage_->setText(logic_->doc().lblErrMessage);
    showing_ = false;
}

void FormMain::showAndFallBack(bool) {
    try {
        show();
        raise();
        // The form takes the keyboard as it opens: a cashier scans without clicking it first.
        activateWindow();
        refreshTimer_.start();
    } catch (...) {
        // Whatever stopped a modeless show: show it modal instead.
        setWindowModality(Qt::ApplicationModal);
        show();
    }
}

bool FormMain::ViewInvoice(int id) {
    logic_->ViewInvoice(id);
    refreshView();
    showAndFallBack(false);
    return false;
}

bool FormMain::ClearShow() {
    logic_->ClearShow();
    refreshView();
    showAndFallBack(false);
    return false;
}

void FormMain::showKeyMap() {
    FrmKeyMap map(this);
    map.exec();
}

int FormMain::runSearch() {
    if (searchDialog) return searchDialog();
    bool ok = false;
    const int id = QInputDialog::getInt(this, QStringLiteral("جستجو"),
                                        QStringLiteral("شماره رايانهاي فاكتور:"), 1, 1,
                                        std::numeric_limits<int>::max(), 1, &ok);
    return ok ? id : 0;
}

void FormMain::focusControl(const QString& objectName) {
    QWidget* w = findChild<QWidget*>(objectName);
    if (!w) return;
    // The goods grid takes the focus at the cell the next scanned code goes to.
    if (w == flexDetail_) {
        const LineTableModel& grid = logic_->doc().flexDetail;
        const int row =
            std::clamp(logic_->services().lines->currentRow(), 0, std::max(0, grid.rows() - 1));
        flexDetail_->setCurrentIndex(grid.index(row, Col::BarCode));
    }
    w->setFocus();
}

void FormMain::unloadForm() {
    close();
}

bool FormMain::run(const std::function<void()>& command) {
    if (!logic_->guarded(command)) return false;
    if (isVisible() && !refreshTimer_.isActive()) refreshTimer_.start();
    return true;
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::FocusIn)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // The form's own widgets only: not its dialogs, which are windows of their own.
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::KeyPress) clearFlash();
    if (type != QEvent::FocusIn) return previewKey(widget, static_cast<QKeyEvent*>(event));
    if (widget->objectName() == QLatin1String("cmdExit")) focusControl(logic_->exitFocusTarget());
    selectCashOnEntry(widget);
    return false;
}

// The form's shortcuts first, whichever widget has the focus; then the grid's own keys.
bool FormMain::previewKey(QWidget* target, QKeyEvent* event) {
    const bool formKey = FormMainLogic::IsFormKey(event->key(), event->modifiers());
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed here, the key comes as a key press instead of a field's shortcut (cut, ...).
        if (formKey) event->accept();
        return formKey;
    }
    if (formKey) {
        run([this, event] { logic_->RouteKeys(event->key(), event->modifiers()); });
        return true;
    }
    if (target != flexDetail_)
        return flexDetail_->isAncestorOf(target) ? pickerKeyInCell(target, event) : newKey(event);
    bool used = true;  // a key whose command failed is spent
    run([this, event, &used] { used = gridKey(event); });
    return used;
}

void FormMain::clearFlash() {
    if (logic_->doc().lblErrMessage.isEmpty() && lblErrMessage_->text().isEmpty()) return;
    logic_->doc().lblErrMessage.clear();
    lblErrMessage_->clear();
}

// A code scanned while a line's message box was open, entered as the next scan once the line's
// own handling is over.
void FormMain::enterScannedCode(const QString& code) {
    QTimer::singleShot(0, this, [this, code] {
        LineTableModel& grid = logic_->doc().flexDetail;
        const QModelIndex current = flexDetail_->currentIndex();
        const int row = current.isValid() ? current.row() : grid.rows() - 1;
        grid.setData(grid.index(row, Col::BarCode), code, Qt::EditRole);
    });
}

// F3 while a goods cell is typed in opens the picker with what was typed; the cell itself
// takes nothing.
bool FormMain::pickerKeyInCell(QWidget* editor, QKeyEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(editor);
    const QModelIndex current = flexDetail_->currentIndex();
    if (!box || event->type() != QEvent::KeyPress || event->key() != Qt::Key_F3 ||
        !current.isValid())
        return false;
    InvoiceServices& s = logic_->services();
    if (s.lines->handleKey(Qt::Key_F3, event->modifiers(), current.row(), current.column()) !=
        GridAction::ChooseGoods)
        return false;
    const QString typed = box->text();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor, &escape);  // the cell is left as it was
    pickGoods(current.row(), typed);
    return true;
}

// A message box shown while a line was entered took the keyboard, and gave it back to the form
// anywhere (the header's tabs) or nowhere. Unless the logic put the focus on a field of its own,
// the next scanned code goes to the grid's cell again.
void FormMain::returnToTheGrid() {
    QWidget* focus = focusWidget();
    const bool onAField = focus && focus != this && isAncestorOf(focus) &&
                          !qobject_cast<QTabBar*>(focus) && focus != flexDetail_ &&
                          !flexDetail_->isAncestorOf(focus);
    if (onAField) return;
    if (isVisible() && !isActiveWindow()) activateWindow();
    flexDetail_->setFocus();
}

// F7 is the grid's stock trace; anywhere else it is New, as the key help lists it.
bool FormMain::newKey(QKeyEvent* event) {
    if (event->type() != QEvent::KeyPress || event->key() != Qt::Key_F7 ||
        (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)))
        return false;
    run([this] { logic_->runCommand(QStringLiteral("cmdNew")); });
    return true;
}

void FormMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    const QString focus = logic_->activationFocus();
    if (!focus.isEmpty()) focusControl(focus);
}

void FormMain::closeEvent(QCloseEvent* event) {
    refreshTimer_.stop();
    logic_->Form_Unload();
    QWidget::closeEvent(event);
}

}  // namespace si

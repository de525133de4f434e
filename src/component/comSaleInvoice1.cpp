#include "component/comSaleInvoice1.h"

#include "common/Codes.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

#include "assembly/ui/InvoiceModuleUi.h"
#include "common/CommandGuard.h"
#include "common/Messages.h"
#include "invoice/ui/FormMain.h"
#include "payment/PosWorkstation.h"
#include "payment/ui/FormPosConfig.h"
#include "posting/BatchFinalRegistration.h"
#include "search/InvoiceLists.h"
#include "search/ui/FormSearch.h"
#include "search/ui/InvoiceResultView.h"

namespace si {

namespace {

constexpr int kPanelMargin = 20;

QPushButton* panelButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->hide();
    return b;
}

}  // namespace

// A form with its module. The module works on the form, so it goes first.
class comSaleInvoice1::OpenedForm : public QObject {
public:
    explicit OpenedForm(std::unique_ptr<FormMain> f) : form(std::move(f)) {}
    ~OpenedForm() override { module.reset(); }

    std::unique_ptr<FormMain> form;
    std::unique_ptr<InvoiceModule> module;
};

comSaleInvoice1::comSaleInvoice1(ComponentRegistry& components, const ProcedureRegistry& procedures,
                                 QWidget* parent)
    : QWidget(parent),
      components_(components),
      procedures_(procedures),
      ctx_(&components, &procedures) {
    setObjectName(QStringLiteral("comSaleInvoice1"));
    setLayoutDirection(Qt::RightToLeft);
    FrmCaption_ = new QFrame(this);
    FrmCaption_->setObjectName(QStringLiteral("FrmCaption"));
    auto* caption = new QLabel(QStringLiteral("Sales Invoice"), FrmCaption_);
    caption->setObjectName(QStringLiteral("lblCaption"));
    caption->adjustSize();
    FrmCaption_->resize(caption->size());
    listModel_ = std::make_unique<InvoiceResultModel>(ctx_, ListColumns(true));
    flex_ = new InvoiceResultView(*listModel_, this);
    flex_->setObjectName(QStringLiteral("flex"));
    connect(flex_, &InvoiceResultView::rowClicked, this, &comSaleInvoice1::onListRowClicked);
    connect(flex_, &InvoiceResultView::invoiceOpened, this, [this](qint64 id) {
        int invoice = static_cast<int>(id);
        Guarded(ctx_, [&] { View(invoice); });
    });
    cmdSelectAll_ = panelButton("cmdSelectAll", QStringLiteral("انتخاب همه"), this);
    cmdSelectNone_ = panelButton("cmdSelectNone", QStringLiteral("هيچكدام"), this);
    cmdSelectInverse_ = panelButton("cmdSelectInverse", QStringLiteral("معكوس"), this);
    cmdFinalSave_ = panelButton("cmdFinalSave", QStringLiteral("ثبت نهايي"), this);
    connect(cmdSelectAll_, &QPushButton::clicked, this, &comSaleInvoice1::cmdSelectAll);
    connect(cmdSelectNone_, &QPushButton::clicked, this, &comSaleInvoice1::cmdSelectNone);
    connect(cmdSelectInverse_, &QPushButton::clicked, this, &comSaleInvoice1::cmdSelectInverse);
    connect(cmdFinalSave_, &QPushButton::clicked, this,
            [this] { Guarded(ctx_, [this] { cmdFinalSave(); }); });
    InitProperties();
}

comSaleInvoice1::~comSaleInvoice1() {
    searchForm_.reset();
    myFrm_ = nullptr;
    forms_.clear();
    // Their forms use this control's context: they go now, not after it.
    for (const QPointer<QObject>& released : released_)
        delete released.data();
}

// --- properties -------------------------------------------------------------------------------

void comSaleInvoice1::InitProperties() {
    dataSource_ = QStringLiteral("0");
    userName_ = QStringLiteral("0");
    isInvoice_ = QVariant::fromValue<short>(1);
    connection_.clear();
    userId_ = 0;
    positionId_ = 0;
    accPeriodSpecId_ = 0;
    employeeId_ = 0;
    id_ = 0;
    whereClause_.clear();
}

void comSaleInvoice1::ReadProperties(PropertyBag& bag) {
    setDataSource(bag.ReadProperty(QStringLiteral("DataSource"), QStringLiteral("0")).toString());
    setUserName(bag.ReadProperty(QStringLiteral("UserName"), QStringLiteral("0")).toString());
    setIsInvoice(bag.ReadProperty(QStringLiteral("IsInvoice"), 1));
    setOLEConnectionString(
        bag.ReadProperty(QStringLiteral("OLEConnectionString"), QString()).toString());
    setUserID(static_cast<short>(bag.ReadProperty(QStringLiteral("UserID"), 0).toInt()));
    setPositionID(static_cast<short>(bag.ReadProperty(QStringLiteral("PositionID"), 0).toInt()));
    setAccPeriodSpecID(bag.ReadProperty(QStringLiteral("AccPeriodSpecID"), 0).toInt());
    setEmployeeID(static_cast<short>(bag.ReadProperty(QStringLiteral("EmployeeID"), 0).toInt()));
    setID(bag.ReadProperty(QStringLiteral("ID"), 0).toInt());
    setWhereClause(bag.ReadProperty(QStringLiteral("WhereClause"), QString()).toString());
}

void comSaleInvoice1::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("DataSource"), dataSource_, QStringLiteral("0"));
    bag.WriteProperty(QStringLiteral("UserName"), userName_, QStringLiteral("0"));
    bag.WriteProperty(QStringLiteral("IsInvoice"), isInvoice_.toInt(), 1);
    bag.WriteProperty(QStringLiteral("OLEConnectionString"), connection_, QString());
    bag.WriteProperty(QStringLiteral("UserID"), int(userId_), 0);
    bag.WriteProperty(QStringLiteral("PositionID"), int(positionId_), 0);
    bag.WriteProperty(QStringLiteral("AccPeriodSpecID"), accPeriodSpecId_, 0);
    bag.WriteProperty(QStringLiteral("EmployeeID"), int(employeeId_), 0);
    bag.WriteProperty(QStringLiteral("ID"), id_, 0);
    bag.WriteProperty(QStringLiteral("WhereClause"), whereClause_, QString());
}

void comSaleInvoice1::setDataSource(const QString& v) {
    dataSource_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("DataSource"));
}
void comSaleInvoice1::setUserName(const QString& v) {
    userName_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("UserName"));
}
void comSaleInvoice1::setIsInvoice(const QVariant& v) {
    isInvoice_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("IsInvoice"));
}
void comSaleInvoice1::setOLEConnectionString(const QString& v) {
    connection_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("OLEConnectionString"));
}
void comSaleInvoice1::setUserID(short v) {
    FrmCaption_->hide();  // even when the value does not change
    userId_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("UserID"));
}
void comSaleInvoice1::setPositionID(short v) {
    positionId_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("PositionID"));
}
void comSaleInvoice1::setAccPeriodSpecID(int v) {
    accPeriodSpecId_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("AccPeriodSpecID"));
}
void comSaleInvoice1::setEmployeeID(short v) {
    employeeId_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("EmployeeID"));
}
void comSaleInvoice1::setID(int v) {
    id_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("ID"));
}
void comSaleInvoice1::setWhereClause(const QString& v) {
    whereClause_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("WhereClause"));
}

// --- entry methods -----------------------------------------------------------------------------

void comSaleInvoice1::SetUserInfo() {
    SessionGlobals& g = ctx_.globals;
    g.CurrentUserName = userName_;
    g.CurrentUserID = userId_;
    g.CurrentPositionID = positionId_;
    g.CurrentEmployeeID = employeeId_;
    g.CurrentDataSource = dataSource_;
    g.CurrentIsInvoice = isInvoice_.toBool();
    g.CurrentConnectionString = connection_;
}

void comSaleInvoice1::openSessionForEntry() {
    SetUserInfo();
    OpenSession(ctx_);
}

void comSaleInvoice1::relay(FormMain* form) {
    connect(form, &FormMain::CreateNewRelationship, this, [this, form](int type, int id) {
        if (form == myFrm_) Q_EMIT CreateNewRelationship(type, id);
    });
    connect(form, &FormMain::ShowRelationships, this, [this, form](int type, int id) {
        if (form == myFrm_) Q_EMIT ShowRelationships(type, id);
    });
    connect(form, &FormMain::SendSMS, this, [this, form](QString phone, QString message) {
        if (form == myFrm_) Q_EMIT SendSMS(phone, message);
    });
    connect(
        form, &FormMain::PrintByDotNet, this,
        [this, form](QString& file, QString& connection, QString& formulas, QString& sql,
                     bool& preview) {
            if (form == myFrm_) Q_EMIT PrintByDotNet(file, connection, formulas, sql, preview);
        },
        Qt::DirectConnection);
}

FormMain* comSaleInvoice1::newRelayedForm() {
    setAccPeriodSpecID(accPeriodSpecId_);  // repeats the property-change notification
    auto opened = std::make_unique<OpenedForm>(std::make_unique<FormMain>(ctx_));
    FormMain* form = opened->form.get();
    form->setAttribute(Qt::WA_DontShowOnScreen, !showForms);
    opened->module = InstallModule(*form);
    myFrm_ = form;
    relay(form);
    // The form's own search (Ctrl+F) opens the same search form.
    form->searchDialog = [this] { return runSearch(false).toInt(); };
    connect(&form->logic(), &FormMainLogic::unloaded, this, [this, form] { releaseForm(form); });
    forms_.push_back(std::move(opened));
    return form;
}

bool comSaleInvoice1::openForm(const std::function<bool(FormMain&)>& show) {
    FormMain* previous = myFrm_;
    FormMain* form = newRelayedForm();
    try {
        return show(*form);
    } catch (...) {
        // The entry failed (the caller reports it): no half-loaded form stays behind.
        std::erase_if(forms_, [form](const auto& f) { return f->form.get() == form; });
        myFrm_ = previous;
        throw;
    }
}

// The form is on its way out of its close event: nothing more of it is relayed, and it is deleted
// after that event, not inside it.
void comSaleInvoice1::releaseForm(FormMain* form) {
    auto it = std::find_if(forms_.begin(), forms_.end(),
                           [form](const auto& f) { return f->form.get() == form; });
    if (it == forms_.end()) return;
    form->disconnect(this);
    form->logic().disconnect(this);
    if (myFrm_ == form) myFrm_ = nullptr;
    OpenedForm* released = it->release();
    forms_.erase(it);
    std::erase_if(released_, [](const QPointer<QObject>& p) { return p.isNull(); });
    released_.emplace_back(released);
    released->deleteLater();
}

bool comSaleInvoice1::View(int& CSInvoiceID) {
    openSessionForEntry();
    const int id = CSInvoiceID;
    return openForm([id](FormMain& form) { return form.ViewInvoice(id); });
}

bool comSaleInvoice1::ClearShow() {
    openSessionForEntry();
    return openForm([](FormMain& form) { return form.ClearShow(); });
}

bool comSaleInvoice1::UnloadInvoice() {
    if (myFrm_) myFrm_->close();
    return false;
}

bool comSaleInvoice1::SearchInvoice() {
    openSessionForEntry();
    if (!HasRight(ctx_, Right::Search)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return false;
    }
    int id = chooseInvoices(false).toInt();
    if (id > 0) View(id);
    return false;
}

void comSaleInvoice1::PosSetting() {
    openSessionForEntry();
    const auto settings = OpenWorkstationSettings();
    FormPosConfig form(ctx_, *settings, window());
    form.loadSetting();
    if (runPosSetting)
        runPosSetting(form);
    else
        form.exec();
}

QString comSaleInvoice1::SearchNGetInvoices() {
    openSessionForEntry();
    if (!HasRight(ctx_, Right::Search)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return {};
    }
    return chooseInvoices(true);
}

QString comSaleInvoice1::chooseInvoices(bool picking) {
    if (!searchDialog) return runSearch(picking);
    const int id = searchDialog();
    return id > 0 ? QString::number(id) : QString();
}

FormSearch* comSaleInvoice1::searchForm() {
    if (!searchForm_) {
        searchForm_ = std::make_unique<FormSearch>(ctx_, this);
        searchForm_->setWindowFlag(Qt::Window);
        searchForm_->setAttribute(Qt::WA_DontShowOnScreen, !showForms);
    }
    return searchForm_.get();
}

// The search form, modal: an invoice chosen to open, or invoices picked for the host.
QString comSaleInvoice1::runSearch(bool picking) {
    FormSearch& form = *searchForm();
    form.InitializeSearch();
    if (!runSearchForm) return form.run(picking);
    form.prepare(picking);
    form.show();  // as exec() would
    const QString outcome = runSearchForm(form, picking);
    form.hide();
    return outcome;
}

int comSaleInvoice1::openFormCount() const {
    int n = 0;
    for (const auto& f : forms_)
        n += f->form->isVisible() || f->form->testAttribute(Qt::WA_DontShowOnScreen) ? 1 : 0;
    return n;
}

// --- list panel ---------------------------------------------------------------------------------

QVariant comSaleInvoice1::ViewTempDocs() {
    viewList(InvoiceList::Temp);
    return {};
}

QVariant comSaleInvoice1::ViewFinalDocs() {
    viewList(InvoiceList::Final);
    return {};
}

void comSaleInvoice1::viewList(InvoiceList list) {
    showBatchCommands(ListOffersBatchFinal(list, whereClause_));
    openSessionForEntry();
    LoadSystemParameters(ctx_);
    if (list == InvoiceList::Temp) setAccPeriodSpecID(accPeriodSpecId_);
    const WaitCursor wait;
    listModel_->setColumns(ListColumns(list == InvoiceList::Temp));
    listModel_->setSource(InvoiceListSource(ctx_, list, whereClause_));
}

void comSaleInvoice1::showBatchCommands(bool shown) {
    batchCommands_ = shown;
    for (QPushButton* b : {cmdSelectAll_, cmdSelectNone_, cmdSelectInverse_, cmdFinalSave_})
        b->setVisible(shown);
}

void comSaleInvoice1::DoSort(short, short flexSortCol) {
    const WaitCursor wait;
    listModel_->sortBy(flexSortCol);
}

bool comSaleInvoice1::markingAllowed() {
    if (HasRight(ctx_, Right::FinalSave)) return true;
    ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
    return false;
}

void comSaleInvoice1::cmdSelectAll() {
    if (markingAllowed()) listModel_->markAll();
}
void comSaleInvoice1::cmdSelectNone() {
    if (markingAllowed()) listModel_->markNone();
}
void comSaleInvoice1::cmdSelectInverse() {
    if (markingAllowed()) listModel_->invertMarks();
}

void comSaleInvoice1::onListRowClicked(int row) {
    if (batchCommands_) listModel_->toggleMark(row);
}

int comSaleInvoice1::cmdFinalSave() {
    const int registered = BatchFinalRegistration(ctx_).cmdFinalSave(listModel_->markedIds());
    if (registered != 0) ViewTempDocs();
    return registered;
}
bool comSaleInvoice1::SaveAccDocAgain(QString&, QString&) {
    return false;
}

void comSaleInvoice1::layoutPanel() {
    // The four buttons stand in one row along the bottom, from the right edge leftward.
    const QPushButton* order[] = {cmdSelectAll_, cmdSelectNone_, cmdSelectInverse_, cmdFinalSave_};
    int right = width() - kPanelMargin;
    int buttonHeight = 0;
    for (const QPushButton* b : order)
        buttonHeight = std::max(buttonHeight, b->sizeHint().height());
    const int top = height() - kPanelMargin - buttonHeight;
    for (const QPushButton* b : order) {
        auto* button = const_cast<QPushButton*>(b);
        const int w = button->sizeHint().width();
        button->setGeometry(right - w, top, w, buttonHeight);
        right -= w + kPanelMargin;
    }
    flex_->setGeometry(0, 0, width(), std::max(0, top - kPanelMargin));
}

void comSaleInvoice1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanel();
}

}  // namespace si

// Building the controls of the invoice form. Every control carries its original name.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "common/TextLimits.h"
#include "controls/ui/JalaliDateEdit.h"
#include "controls/ui/SelectorWidget.h"
#include "controls/ui/WrappingHeaderView.h"
#include "invoice/ui/FormMain.h"
#include "invoice/ui/LineColumnLayout.h"

namespace si {

namespace {

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

// One page of the header: label-and-field pairs in three rows, the fields sharing the width.
QGridLayout* headerPage(QTabWidget* tabs, const QString& title, int pairsPerRow) {
    auto* page = new QWidget(tabs);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    for (int c = 1; c < pairsPerRow * 2; c += 2)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(3, 1);  // shorter pages keep their rows at the top
    tabs->addTab(page, title);
    return grid;
}

// Hidden on purpose: before the form shows, every child counts as hidden.
bool hiddenByTheForm(const QWidget* w) {
    return w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

// The logic moves the focus by name (Enter, activation); a field on a page behind must come
// forward with it.
void followFocus(QTabWidget* tabs) {
    QObject::connect(qApp, &QApplication::focusChanged, tabs, [tabs](QWidget*, QWidget* now) {
        for (int i = 0; now && i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(now)) tabs->setCurrentIndex(i);
    });
}

}  // namespace

QLineEdit* FormMain::addText(QGridLayout* grid, int row, int col, const char* name,
                             const QString& text, bool readOnly) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(readOnly);
    grid->addWidget(label(text, this), row, col);
    grid->addWidget(edit, row, col + 1);
    texts_.insert(edit->objectName(), edit);
    return edit;
}

SelectorWidget* FormMain::addSelector(QGridLayout* grid, int row, int col, SelectorModel& model,
                                      const char* name, const QString& text) {
    auto* s = new SelectorWidget(model, this);
    s->setObjectName(QString::fromLatin1(name));
    auto* l = label(text, this);
    l->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(name).mid(3));
    grid->addWidget(l, row, col);
    grid->addWidget(s, row, col + 1);
    return s;
}

JalaliDateEdit* FormMain::addDate(QGridLayout* grid, int row, int col, const char* name,
                                  const QString& text) {
    auto* d = new JalaliDateEdit(this);
    d->setObjectName(QString::fromLatin1(name));
    grid->addWidget(label(text, this), row, col);
    // A date keeps its own width; the rest of its cell stays empty.
    auto* cell = new QHBoxLayout;
    cell->addWidget(d);
    cell->addStretch();
    grid->addLayout(cell, row, col + 1);
    dates_.insert(d->objectName(), d);
    return d;
}

QPushButton* FormMain::addCommand(QBoxLayout* box, const char* name, const QString& text,
                                  const QString& command) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::TabFocus);
    box->addWidget(b);
    connect(b, &QPushButton::clicked, this,
            [this, command] { run([this, &command] { logic_->runCommand(command); }); });
    return b;
}

QWidget* FormMain::buildHeader() {
    InvoiceDocument& d = logic_->doc();
    gbSale_ = new QGroupBox(d.gbSaleTitle, this);
    gbSale_->setObjectName(QStringLiteral("gbSale"));
    auto* tabs = new QTabWidget(gbSale_);
    tabs->setObjectName(QStringLiteral("tabHeader"));
    followFocus(tabs);
    auto* box = new QVBoxLayout(gbSale_);
    box->setContentsMargins(6, 4, 6, 6);
    box->addWidget(tabs);

    // What the clerk fills for every invoice: three rows of five, so the lines keep the height.
    QGridLayout* g = headerPage(tabs, QStringLiteral("مشخصات فاكتور"), 5);
    addText(g, 0, 0, "txtID", QStringLiteral("شماره رايانهاي"), true);
    addText(g, 0, 2, "txtCode", QStringLiteral("شماره تاييد شده"), true);
    addDate(g, 0, 4, "datCreateDate", QStringLiteral("تاريخ"));
    addText(g, 0, 6, "txtTime", QStringLiteral("ساعت"), true);
    addText(g, 0, 8, "txtNotes", QStringLiteral("ملاحظات"));
    addSelector(g, 1, 0, d.sltCustomer, "sltCustomer", QStringLiteral("مشتري"));
    addSelector(g, 1, 2, d.sltInventory, "sltInventory", QStringLiteral("انبار"));
    addSelector(g, 1, 4, d.sltType, "sltType", QStringLiteral("نوع فاكتور"));
    addSelector(g, 1, 6, d.sltPricingMethod, "sltPricingMethod", QStringLiteral("نوع قيمتگذاري"));
    addSelector(g, 2, 0, d.sltPromoter, "sltPromoter", QStringLiteral("بازارياب"));
    addSelector(g, 2, 2, d.sltPromoter2, "sltPromoter2", QStringLiteral("بازارياب 2"));
    addSelector(g, 2, 4, d.sltPaidByCash, "sltPaidByCash", QStringLiteral("نوع پرداخت"));
    addSelector(g, 2, 6, d.sltCreatorEmployee, "sltCreatorEmployee",
                QStringLiteral("تهيه كننده فيش"));
    cmbScaleBarcode_ = new QComboBox(this);
    cmbScaleBarcode_->setObjectName(QStringLiteral("cmbScaleBarcode"));
    cmbScaleBarcode_->setEditable(true);
    g->addWidget(label(QStringLiteral("بارکد ترازو"), this), 1, 8);
    g->addWidget(cmbScaleBarcode_, 1, 9);
    // The invoice's switches ride in the tab bar's empty end.
    auto* corner = new QWidget(tabs);
    auto* checks = new QHBoxLayout(corner);
    checks->setContentsMargins(4, 0, 4, 0);
    for (const auto& [name, text] : {std::pair{"chkIsFormal", "فاكتور رسمي"},
                                     std::pair{"chkCheckEchantillon", "بررسي اشانتيون"},
                                     std::pair{"chkShouldSMSSend", "ارسال پيامك"}}) {
        auto* c = new QCheckBox(QString::fromUtf8(text), this);
        c->setObjectName(QString::fromLatin1(name));
        checks->addWidget(c);
        checks_.insert(c->objectName(), c);
    }
    // Beside the SMS tick: the template of the customer's message.
    addCommand(checks, "cmdShouldSMSSend", QStringLiteral("متن پيامك"),
               QStringLiteral("cmdShouldSMSSend"));
    lblAccountIDVal_ = new QLabel(this);
    lblAccountIDVal_->setObjectName(QStringLiteral("lblAccountIDVal"));
    checks->addWidget(lblAccountIDVal_);
    tabs->setCornerWidget(corner, Qt::TopRightCorner);

    // Credit, settlement and delivery.
    g = headerPage(tabs, QStringLiteral("اعتبار و تحويل"), 4);
    addText(g, 0, 0, "txtLoanExpire", QStringLiteral("مهلت تسويه (روز)"));
    addDate(g, 0, 2, "dtpClearDate", QStringLiteral("تاريخ تسويه"));
    addText(g, 0, 4, "txtCreditPeriod", QStringLiteral("مدت اعتبار"), true);
    addText(g, 0, 6, "txtUsedCredit", QStringLiteral("اعتبار استفاده شده"), true);
    addText(g, 1, 0, "txtRemCredit", QStringLiteral("مانده اعتبار"), true);
    addDate(g, 1, 2, "gdpDeliverDate", QStringLiteral("تاريخ تحويل"));
    addSelector(g, 1, 4, d.sltDeliverType, "sltDeliverType", QStringLiteral("نحوه تحويل"));
    addSelector(g, 1, 6, d.sltContract, "sltContract", QStringLiteral("قرارداد"));
    addSelector(g, 2, 0, d.sltAchiever, "sltAchiever", QStringLiteral("وصول كننده"));
    addSelector(g, 2, 2, d.sltDistributer, "sltDistributer", QStringLiteral("توزيع كننده"));
    addText(g, 2, 4, "txtDistID", QStringLiteral("شماره حواله توزيع"), true);
    addText(g, 2, 6, "txtGhabz", QStringLiteral("شماره قبض"))
        ->setMaxLength(LimitOf(TextField::ManualCode).length);

    // The rest of the header.
    g = headerPage(tabs, QStringLiteral("ساير مشخصات"), 4);
    addSelector(g, 0, 0, d.sltIntroductionType, "sltIntroductionType",
                QStringLiteral("نحوه آشنايي"));
    addSelector(g, 0, 2, d.sltPreCond, "sltPreCond", QStringLiteral("پيش شرط"));
    addSelector(g, 0, 4, d.sltBranch, "sltBranch", QStringLiteral("شعبه"));
    addSelector(g, 0, 6, d.sltCRMCardType, "sltCRMCardType", QStringLiteral("نوع کارت"));
    addSelector(g, 1, 0, d.sltObject1, "sltObject1", QStringLiteral("تفصيلي 1"));
    addSelector(g, 1, 2, d.sltObject2, "sltObject2", QStringLiteral("تفصيلي 2"));
    addSelector(g, 1, 4, d.sltCreator, "sltCreator", QStringLiteral("كاربر ثبت كننده"));
    addText(g, 1, 6, "txtGrade", QStringLiteral("امتياز"), true);
    cmbMessage_ = new QComboBox(this);
    cmbMessage_->setObjectName(QStringLiteral("cmbMessage"));
    g->addWidget(label(QStringLiteral("پيام"), this), 2, 0);
    g->addWidget(cmbMessage_, 2, 1);
    addText(g, 2, 2, "txtCardNo", QStringLiteral("شماره كارت"))
        ->setMaxLength(LimitOf(TextField::CardNo).length);
    addText(g, 2, 4, "txtPrintCount", QStringLiteral("تعداد چاپ"), true);
    addLinkedPage(tabs);
    return gbSale_;
}

// Other modules' windows about the invoice and its customer: the receipt boxes on one row, the
// invoice's documents, the customer's turnover and the dispatch commands on the other. Kept off
// the command rows, which must fit a 1366-pixel screen.
void FormMain::addLinkedPage(QTabWidget* tabs) {
    auto* page = new QWidget(tabs);
    auto* rows = new QVBoxLayout(page);
    rows->setContentsMargins(6, 4, 6, 4);
    const std::pair<const char*, const char*> receipts[] = {
        {"cmdBoxReceive", "دريافت صندوق"}, {"cmdReceive", "دريافت وجه"},
        {"cmdRPDRecieve", "رسيد دريافت"},  {"cmdRPDCashRec", "دريافت و پرداخت نقدي"},
        {"cmdRPDRecDiv", "دريافت اقساطي"}, {"cmdBoxReceiveGroup", "دريافت گروهي"},
        {"cmdRPDGenRec", "دريافت عمومي"}};
    const std::pair<const char*, const char*> documents[] = {
        {"cmdAccTrans", "سند حسابداري فاكتور"},
        {"cmdAssignment", "حواله فروش فاكتور"},
        {"cmdViewAccountDetails", "گردش حساب مشتري"},
        {"cmdFromDispatch", "فاكتور از برگه خروج"},
        {"cmdChangeQty", "تغيير تعداد"}};
    auto* row = new QHBoxLayout;
    for (const auto& [name, text] : receipts)
        addCommand(row, name, QString::fromUtf8(text), QString::fromLatin1(name));
    row->addStretch();
    rows->addLayout(row);
    row = new QHBoxLayout;
    for (const auto& [name, text] : documents)
        addCommand(row, name, QString::fromUtf8(text), QString::fromLatin1(name));
    row->addStretch();
    rows->addLayout(row);
    rows->addStretch();
    tabs->addTab(page, QStringLiteral("دريافت و اسناد مرتبط"));
}

QTableView* FormMain::linesView(const char* name, LineTableModel& model) {
    auto* view = new QTableView(this);
    view->setObjectName(QString::fromLatin1(name));
    view->setHorizontalHeader(new WrappingHeaderView(view));
    view->setModel(&model);
    view->verticalHeader()->hide();
    // Rows as high as the text needs: a till screen shows ten of them.
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    ApplyCashierColumnOrder(*view->horizontalHeader());
    SizeLineColumns(*view, model);
    // A reset (a new or loaded invoice) gives the header its default sizes back.
    connect(&model, &QAbstractItemModel::modelReset, view,
            [view, &model] { SizeLineColumns(*view, model); });
    return view;
}

int FormMain::rowsHeight(const QTableView& view, int rows) {
    return view.horizontalHeader()->sizeHint().height() +
           rows * view.verticalHeader()->defaultSectionSize() +
           view.horizontalScrollBar()->sizeHint().height() + 2 * view.frameWidth();
}

QWidget* FormMain::buildGrid() {
    flexDetail_ = linesView("flexDetail", logic_->doc().flexDetail);
    flexDetail_->setSelectionBehavior(QAbstractItemView::SelectItems);
    flexDetail_->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed);
    flexDetail_->setMinimumHeight(rowsHeight(*flexDetail_, kLineRowsShown));
    // The free goods of the promotion pass, read-only under the lines; shown only when there are
    // any, so that the lines keep the height of the form otherwise.
    flexEch_ = linesView("flexEch", logic_->doc().flexEch);
    flexEch_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexEch_->setMinimumHeight(rowsHeight(*flexEch_, 2));
    echBox_ = new QGroupBox(QStringLiteral("اشانتيون"), this);
    echBox_->setObjectName(QStringLiteral("gbEchantillon"));
    auto* echLayout = new QVBoxLayout(echBox_);
    echLayout->setContentsMargins(4, 0, 4, 2);
    echLayout->addWidget(flexEch_);
    echBox_->hide();
    // The goods picker: a name, code or barcode typed here and Enter open the picker. The
    // message line shares its row.
    auto* lines = new QWidget(this);
    auto* linesLayout = new QVBoxLayout(lines);
    linesLayout->setContentsMargins(0, 0, 0, 0);
    linesLayout->setSpacing(2);
    auto* pickerRow = new QHBoxLayout;
    auto* pickerLabel = new QLabel(QStringLiteral("جستجوي كالا (F3):"), this);
    pickerLabel->setObjectName(QStringLiteral("lblGoodsPicker"));
    txtGoodsPicker_ = new QLineEdit(this);
    txtGoodsPicker_->setObjectName(QStringLiteral("txtGoodsPicker"));
    txtGoodsPicker_->setPlaceholderText(QStringLiteral("نام، كد يا كد ميله اي كالا"));
    pickerLabel->setBuddy(txtGoodsPicker_);
    lblErrMessage_ = new QLabel(this);
    lblErrMessage_->setObjectName(QStringLiteral("lblErrMessage"));
    lblErrMessage_->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    pickerRow->addWidget(pickerLabel);
    pickerRow->addWidget(txtGoodsPicker_, 1);
    pickerRow->addWidget(lblErrMessage_, 2);
    // A shop's cash turn rides beside the picker: the cashier sees which shift he sells into.
    auto* turnLabel = new QLabel(QStringLiteral("نوبت صندوق:"), this);
    turnLabel->setObjectName(QStringLiteral("lblCashTurn"));
    cmbCashTurn_ = new QComboBox(this);
    cmbCashTurn_->setObjectName(QStringLiteral("cmbCashTurn"));
    cmbCashTurn_->setMinimumContentsLength(30);
    cmbCashTurn_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    pickerRow->addWidget(turnLabel);
    pickerRow->addWidget(cmbCashTurn_, 1);
    addCashFields(pickerRow);
    linesLayout->addLayout(pickerRow);
    linesLayout->addWidget(flexDetail_, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(lines);
    split->addWidget(echBox_);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    return split;
}

// The cashier counts the change on the row above the lines, beside the turn he sells into.
void FormMain::addCashFields(QBoxLayout* row) {
    const std::pair<const char*, const char*> cash[] = {{"TempCustomerCash", "دريافتي از مشتري:"},
                                                        {"TempCustomerCashReturn", "باقيمانده:"}};
    for (const auto& [name, text] : cash) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(name));
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("txt") + QString::fromLatin1(name));
        e->setAlignment(Qt::AlignLeft);
        e->setStyleSheet(QStringLiteral("font-weight: bold;"));
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0/000/000/000")) +
                           16);
        e->setReadOnly(e->objectName().endsWith(QLatin1String("Return")));
        l->setBuddy(e);
        row->addWidget(l);
        row->addWidget(e);
        texts_.insert(e->objectName(), e);
    }
}

QWidget* FormMain::buildTotals() {
    auto* box = new QGroupBox(QStringLiteral("جمع فاكتور"), this);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(6, 2, 6, 4);
    g->setVerticalSpacing(3);
    g->setHorizontalSpacing(6);
    // Two rows of seven, the amount to pay last, where the eye ends.
    constexpr int kPerRow = 7;
    const std::pair<const char*, const char*> boxes[] = {
        {"txtTotalPurePriceLock", "جمع كل"},
        {"txtTotalRowDiscount", "تخفيف سطرها"},
        {"txtTotalPriceLock", "جمع پس از تخفيف"},
        {"txtTotalDiscountValue", "جمع تخفيفها"},
        {"txtSuCharge", "هزينه اضافي"},
        {"txtDecs", "كسورات"},
        {"txtTax", "ماليات"},
        {"txtAdded", "عوارض"},
        {"txtRoundDown", "گرد كردن"},
        {"txtMasterDiscountPercent", "تخفيف كلي (درصد)"},
        {"txtMasterDiscountValue", "تخفيف كلي (مبلغ)"},
        {nullptr, nullptr},
        {"txtPureTotalValue", "خالص"},
        {"txtGrandTotalLock", "مبلغ قابل پرداخت"}};
    int i = 0;
    for (const auto& [name, text] : boxes) {
        const int row = i / kPerRow, col = (i % kPerRow) * 2;
        ++i;
        if (!name) {
            g->addLayout(masterDiscountKind(), row, col, 1, 2);
            continue;
        }
        const bool master = QByteArray(name).startsWith("txtMaster");
        QLineEdit* e = addText(g, row, col, name, QString::fromUtf8(text), !master);
        e->setAlignment(Qt::AlignLeft);
        if (!master) amounts_.insert(e->objectName(), e);
    }
    amounts_.value(QStringLiteral("txtGrandTotalLock"))
        ->setStyleSheet(QStringLiteral("font-weight: bold;"));
    for (int c = 1; c < kPerRow * 2; c += 2)
        g->setColumnStretch(c, 1);
    return box;
}

QBoxLayout* FormMain::masterDiscountKind() {
    optPercent_ = new QRadioButton(QStringLiteral("درصد"), this);
    optPercent_->setObjectName(QStringLiteral("optMasterDiscountPercent"));
    optValue_ = new QRadioButton(QStringLiteral("مبلغ"), this);
    optValue_->setObjectName(QStringLiteral("optMasterDiscountValue"));
    auto* kind = new QHBoxLayout;
    kind->addWidget(optPercent_);
    kind->addWidget(optValue_);
    kind->addStretch();
    return kind;
}

QWidget* FormMain::buildCommands() {
    auto* bar = new QWidget(this);
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    const std::pair<const char*, const char*> commands[] = {
        {"cmdNew", "جديد"},
        {"cmdEdit", "اصلاح"},
        {"cmdDelete", "حذف"},
        {"cmdTempSave", "ثبت موقت"},
        {"cmdFinalSave", "ثبت نهايي"},
        {"cmdBackToTemp", "بازگشت به موقت"},
        {"cmdGrandTotal", "پرداخت"},
        {"cmdCancel", "انصراف"},
        {"cmdSearch", "جستجو"},
        {"cmdView", "مشاهده"},
        {"cmdPrint", "چاپ"},
        {"cmdLottery", "قرعه كشي"},
        {"cmdCost", "هزينه ها"},
        {"cmdDecs", "كسورات"},
        {"cmdShowEch", "پروموشنها"},
        {"cmdRefreshEchantillon", "بررسي اشانتيون"},
        {"cmdReadFromBeepFile", "خواندن از فايل"},
        {"cmdSaveAccDoc", "ثبت مجدد سند"},
        {"cmdInvExit", "برگه خروج"},
        {"cmdCustomerName", "نام مشتري"},
        {"cmdDebitInfo", "اطلاعات بدهي"},
        {"cmdCustomerDebitInfo", "بدهي مشتري"},
        {"cmdCustomerPrint", "چاپ مشتري"},
        {"cmdNewCustomer", "مشتري جديد"},
        {"cmdRFID", "کارت RFID"},
        {"cmdCashTurn", "نوبت صندوق"},
        {"cmdCashTurnPrint", "چاپ صندوق"},
        {"cmdCashFlow", "گردش صندوق"},
        {"cmdCashPay", "پرداخت از صندوق"},
        {"cmdNewRelationship", "ارتباط جديد"},
        {"cmdRelatedForms", "فرمهاي مرتبط"},
        {"cmdExit", "خروج"}};
    for (QHBoxLayout*& row : commandRows_) {
        row = new QHBoxLayout;
        rows->addLayout(row);
    }
    for (const auto& [name, text] : commands)
        commands_.append(
            addCommand(commandRows_[1], name, QString::fromUtf8(text), QString::fromLatin1(name)));
    arrangeCommands();
    findChild<QPushButton*>(QStringLiteral("cmdRFID"))
        ->setToolTip(QStringLiteral("براي تنظيم دستگاه RFID روي اين قسمت کليک کنيد"));
    return bar;
}

// Two rows, so the form fits a till screen of 1366x768: the commands shown share them evenly,
// and those the parameters or the mode hide leave their room to the others.
void FormMain::arrangeCommands() {
    QVector<QPushButton*> shown;
    for (QPushButton* b : commands_)
        if (!hiddenByTheForm(b)) shown.append(b);
    if (shown == shownCommands_) return;
    shownCommands_ = shown;
    for (QPushButton* b : commands_) {
        commandRows_[0]->removeWidget(b);
        commandRows_[1]->removeWidget(b);
    }
    const qsizetype firstRow = (shown.size() + 1) / 2;
    for (qsizetype i = 0; i < shown.size(); ++i)
        commandRows_[i < firstRow ? 0 : 1]->addWidget(shown[i]);
    for (QPushButton* b : commands_)
        if (hiddenByTheForm(b)) commandRows_[1]->addWidget(b);
}

void FormMain::buildForm() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(4);
    outer->addWidget(buildHeader());
    outer->addWidget(buildGrid(), 1);
    outer->addWidget(buildTotals());
    outer->addWidget(buildCommands());
}

}  // namespace si

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
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "common/TextLimits.h"
#include "controls/ui/JalaliDateEdit.h"
#include "controls/ui/SelectorWidget.h"
#include "invoice/ui/FormMain.h"

namespace si {

namespace {

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

// One page of the header: four label-and-field pairs a row, the fields sharing the width.
QGridLayout* headerPage(QTabWidget* tabs, const QString& title) {
    auto* page = new QWidget(tabs);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    for (int c = 1; c < 8; c += 2)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(4, 1);  // shorter pages keep their rows at the top
    tabs->addTab(page, title);
    return grid;
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

    // What the clerk fills for every invoice.
    QGridLayout* g = headerPage(tabs, QStringLiteral("مشخصات فاكتور"));
    addText(g, 0, 0, "txtID", QStringLiteral("شماره رايانهاي"), true);
    addText(g, 0, 2, "txtCode", QStringLiteral("شماره تاييد شده"), true);
    addDate(g, 0, 4, "datCreateDate", QStringLiteral("تاريخ"));
    addText(g, 0, 6, "txtTime", QStringLiteral("ساعت"), true);
    addSelector(g, 1, 0, d.sltCustomer, "sltCustomer", QStringLiteral("مشتري"));
    addSelector(g, 1, 2, d.sltInventory, "sltInventory", QStringLiteral("انبار"));
    addSelector(g, 1, 4, d.sltType, "sltType", QStringLiteral("نوع فاكتور"));
    addSelector(g, 1, 6, d.sltPricingMethod, "sltPricingMethod", QStringLiteral("نوع قيمتگذاري"));
    addSelector(g, 2, 0, d.sltPromoter, "sltPromoter", QStringLiteral("بازارياب"));
    addSelector(g, 2, 2, d.sltPromoter2, "sltPromoter2", QStringLiteral("بازارياب 2"));
    addSelector(g, 2, 4, d.sltPaidByCash, "sltPaidByCash", QStringLiteral("نوع پرداخت"));
    addSelector(g, 2, 6, d.sltCreatorEmployee, "sltCreatorEmployee",
                QStringLiteral("تهيه كننده فيش"));
    addText(g, 3, 0, "txtNotes", QStringLiteral("ملاحظات"));
    cmbScaleBarcode_ = new QComboBox(this);
    cmbScaleBarcode_->setObjectName(QStringLiteral("cmbScaleBarcode"));
    cmbScaleBarcode_->setEditable(true);
    g->addWidget(label(QStringLiteral("بارکد ترازو"), this), 3, 2);
    g->addWidget(cmbScaleBarcode_, 3, 3);
    auto* checks = new QHBoxLayout;
    for (const auto& [name, text] : {std::pair{"chkIsFormal", "فاكتور رسمي"},
                                     std::pair{"chkCheckEchantillon", "بررسي اشانتيون"},
                                     std::pair{"chkShouldSMSSend", "ارسال پيامك"}}) {
        auto* c = new QCheckBox(QString::fromUtf8(text), this);
        c->setObjectName(QString::fromLatin1(name));
        checks->addWidget(c);
        checks_.insert(c->objectName(), c);
    }
    lblAccountIDVal_ = new QLabel(this);
    lblAccountIDVal_->setObjectName(QStringLiteral("lblAccountIDVal"));
    checks->addWidget(lblAccountIDVal_);
    checks->addStretch();
    g->addLayout(checks, 3, 4, 1, 4);

    // Credit, settlement and delivery.
    g = headerPage(tabs, QStringLiteral("اعتبار و تحويل"));
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
    g = headerPage(tabs, QStringLiteral("ساير مشخصات"));
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
    return gbSale_;
}

QWidget* FormMain::buildGrid() {
    flexDetail_ = new QTableView(this);
    flexDetail_->setObjectName(QStringLiteral("flexDetail"));
    flexDetail_->setModel(&logic_->doc().flexDetail);
    flexDetail_->setSelectionBehavior(QAbstractItemView::SelectItems);
    flexDetail_->verticalHeader()->hide();
    flexDetail_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    flexDetail_->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed);
    flexDetail_->setMinimumHeight(170);
    // The free goods of the promotion pass, read-only under the lines.
    flexEch_ = new QTableView(this);
    flexEch_->setObjectName(QStringLiteral("flexEch"));
    flexEch_->setModel(&logic_->doc().flexEch);
    flexEch_->verticalHeader()->hide();
    flexEch_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexEch_->setMinimumHeight(60);
    auto* echBox = new QGroupBox(QStringLiteral("اشانتيون"), this);
    auto* echLayout = new QVBoxLayout(echBox);
    echLayout->setContentsMargins(4, 2, 4, 4);
    echLayout->addWidget(flexEch_);
    // The goods picker: a name, code or barcode typed here and Enter open the picker.
    auto* lines = new QWidget(this);
    auto* linesLayout = new QVBoxLayout(lines);
    linesLayout->setContentsMargins(0, 0, 0, 0);
    auto* pickerRow = new QHBoxLayout;
    auto* pickerLabel = new QLabel(QStringLiteral("جستجوي كالا (F3):"), this);
    pickerLabel->setObjectName(QStringLiteral("lblGoodsPicker"));
    txtGoodsPicker_ = new QLineEdit(this);
    txtGoodsPicker_->setObjectName(QStringLiteral("txtGoodsPicker"));
    txtGoodsPicker_->setPlaceholderText(QStringLiteral("نام، كد يا كد ميله اي كالا"));
    pickerLabel->setBuddy(txtGoodsPicker_);
    pickerRow->addWidget(pickerLabel);
    pickerRow->addWidget(txtGoodsPicker_, 1);
    linesLayout->addLayout(pickerRow);
    linesLayout->addWidget(flexDetail_, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(lines);
    split->addWidget(echBox);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    return split;
}

QWidget* FormMain::buildTotals() {
    auto* box = new QGroupBox(QStringLiteral("جمع فاكتور"), this);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(8, 4, 8, 6);
    g->setVerticalSpacing(4);
    const std::pair<const char*, const char*> boxes[] = {{"txtTotalPurePriceLock", "جمع كل"},
                                                         {"txtTotalRowDiscount", "تخفيف سطرها"},
                                                         {"txtTotalPriceLock", "جمع پس از تخفيف"},
                                                         {"txtTotalDiscountValue", "جمع تخفيفها"},
                                                         {"txtSuCharge", "هزينه اضافي"},
                                                         {"txtDecs", "كسورات"},
                                                         {"txtTax", "ماليات"},
                                                         {"txtAdded", "عوارض"},
                                                         {"txtRoundDown", "گرد كردن"},
                                                         {"txtGrandTotalLock", "مبلغ قابل پرداخت"},
                                                         {"txtPureTotalValue", "خالص"}};
    // Five amounts a row: three rows leave the lines grid the height of the form.
    constexpr int kPerRow = 5;
    int i = 0;
    for (const auto& [name, text] : boxes) {
        QLineEdit* e =
            addText(g, i / kPerRow, (i % kPerRow) * 2, name, QString::fromUtf8(text), true);
        e->setAlignment(Qt::AlignLeft);
        amounts_.insert(e->objectName(), e);
        ++i;
    }
    amounts_.value(QStringLiteral("txtGrandTotalLock"))
        ->setStyleSheet(QStringLiteral("font-weight: bold;"));
    for (int c = 1; c < kPerRow * 2; c += 2)
        g->setColumnStretch(c, 1);
    optPercent_ = new QRadioButton(QStringLiteral("درصد"), this);
    optPercent_->setObjectName(QStringLiteral("optMasterDiscountPercent"));
    optValue_ = new QRadioButton(QStringLiteral("مبلغ"), this);
    optValue_->setObjectName(QStringLiteral("optMasterDiscountValue"));
    QLineEdit* percent =
        addText(g, 2, 2, "txtMasterDiscountPercent", QStringLiteral("تخفيف كلي (درصد)"));
    QLineEdit* value =
        addText(g, 2, 4, "txtMasterDiscountValue", QStringLiteral("تخفيف كلي (مبلغ)"));
    percent->setAlignment(Qt::AlignLeft);
    value->setAlignment(Qt::AlignLeft);
    auto* kind = new QHBoxLayout;
    kind->addWidget(optPercent_);
    kind->addWidget(optValue_);
    kind->addStretch();
    g->addLayout(kind, 2, 6, 1, 2);
    return box;
}

QWidget* FormMain::buildCommands() {
    auto* bar = new QWidget(this);
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
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
        {"cmdNewRelationship", "ارتباط جديد"},
        {"cmdRelatedForms", "فرمهاي مرتبط"},
        {"cmdExit", "خروج"}};
    // Two rows of nine, so the form fits a 1280-pixel screen.
    constexpr int kPerRow = 9;
    QHBoxLayout* row = nullptr;
    int i = 0;
    for (const auto& [name, text] : commands) {
        if (i++ % kPerRow == 0) {
            row = new QHBoxLayout;
            rows->addLayout(row);
        }
        addCommand(row, name, QString::fromUtf8(text), QString::fromLatin1(name));
    }
    return bar;
}

void FormMain::buildForm() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->setSpacing(4);
    outer->addWidget(buildHeader());
    outer->addWidget(buildGrid(), 1);
    lblErrMessage_ = new QLabel(this);
    lblErrMessage_->setObjectName(QStringLiteral("lblErrMessage"));
    lblErrMessage_->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    outer->addWidget(lblErrMessage_);
    outer->addWidget(buildTotals());
    outer->addWidget(buildCommands());
}

}  // namespace si

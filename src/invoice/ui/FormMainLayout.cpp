// Building the controls of the invoice form. Every control carries its original name.

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
#include <QTableView>
#include <QVBoxLayout>

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
    grid->addWidget(d, row, col + 1);
    dates_.insert(d->objectName(), d);
    return d;
}

QPushButton* FormMain::addCommand(QBoxLayout* box, const char* name, const QString& text,
                                  const QString& command) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setFocusPolicy(Qt::TabFocus);
    box->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, command] { logic_->runCommand(command); });
    return b;
}

QWidget* FormMain::buildHeader() {
    InvoiceDocument& d = logic_->doc();
    gbSale_ = new QGroupBox(d.gbSaleTitle, this);
    gbSale_->setObjectName(QStringLiteral("gbSale"));
    auto* g = new QGridLayout(gbSale_);
    g->setHorizontalSpacing(8);
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
    addSelector(g, 3, 0, d.sltContract, "sltContract", QStringLiteral("قرارداد"));
    addSelector(g, 3, 2, d.sltDeliverType, "sltDeliverType", QStringLiteral("نحوه تحويل"));
    addSelector(g, 3, 4, d.sltIntroductionType, "sltIntroductionType",
                QStringLiteral("نحوه آشنايي"));
    addSelector(g, 3, 6, d.sltPreCond, "sltPreCond", QStringLiteral("پيش شرط"));
    addSelector(g, 4, 0, d.sltAchiever, "sltAchiever", QStringLiteral("وصول كننده"));
    addSelector(g, 4, 2, d.sltDistributer, "sltDistributer", QStringLiteral("توزيع كننده"));
    addSelector(g, 4, 4, d.sltBranch, "sltBranch", QStringLiteral("شعبه"));
    addSelector(g, 4, 6, d.sltCRMCardType, "sltCRMCardType", QStringLiteral("نوع کارت"));
    addSelector(g, 5, 0, d.sltObject1, "sltObject1", QStringLiteral("تفصيلي 1"));
    addSelector(g, 5, 2, d.sltObject2, "sltObject2", QStringLiteral("تفصيلي 2"));
    addSelector(g, 5, 4, d.sltCreator, "sltCreator", QStringLiteral("كاربر ثبت كننده"));
    addText(g, 5, 6, "txtGrade", QStringLiteral("امتياز"), true);
    addText(g, 6, 0, "txtGhabz", QStringLiteral("شماره قبض"));
    addText(g, 6, 2, "txtCardNo", QStringLiteral("شماره كارت"));
    addText(g, 6, 4, "txtDistID", QStringLiteral("شماره حواله توزيع"), true);
    addText(g, 6, 6, "txtPrintCount", QStringLiteral("تعداد چاپ"), true);
    addDate(g, 7, 0, "gdpDeliverDate", QStringLiteral("تاريخ تحويل"));
    addDate(g, 7, 2, "dtpClearDate", QStringLiteral("تاريخ تسويه"));
    addText(g, 7, 4, "txtLoanExpire", QStringLiteral("مهلت تسويه (روز)"));
    addText(g, 7, 6, "txtCreditPeriod", QStringLiteral("مدت اعتبار"), true);
    addText(g, 8, 0, "txtUsedCredit", QStringLiteral("اعتبار استفاده شده"), true);
    addText(g, 8, 2, "txtRemCredit", QStringLiteral("مانده اعتبار"), true);
    cmbMessage_ = new QComboBox(this);
    cmbMessage_->setObjectName(QStringLiteral("cmbMessage"));
    g->addWidget(label(QStringLiteral("پيام"), this), 8, 4);
    g->addWidget(cmbMessage_, 8, 5);
    cmbScaleBarcode_ = new QComboBox(this);
    cmbScaleBarcode_->setObjectName(QStringLiteral("cmbScaleBarcode"));
    cmbScaleBarcode_->setEditable(true);
    g->addWidget(label(QStringLiteral("بارکد ترازو"), this), 8, 6);
    g->addWidget(cmbScaleBarcode_, 8, 7);
    addText(g, 9, 0, "txtNotes", QStringLiteral("ملاحظات"));
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
    g->addLayout(checks, 9, 2, 1, 6);
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
    flexDetail_->setMinimumHeight(220);
    return flexDetail_;
}

QWidget* FormMain::buildTotals() {
    auto* box = new QGroupBox(QStringLiteral("جمع فاكتور"), this);
    auto* g = new QGridLayout(box);
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
    int i = 0;
    for (const auto& [name, text] : boxes) {
        QLineEdit* e = addText(g, i / 4, (i % 4) * 2, name, QString::fromUtf8(text), true);
        e->setAlignment(Qt::AlignLeft);
        amounts_.insert(e->objectName(), e);
        ++i;
    }
    optPercent_ = new QRadioButton(QStringLiteral("درصد"), this);
    optPercent_->setObjectName(QStringLiteral("optMasterDiscountPercent"));
    optValue_ = new QRadioButton(QStringLiteral("مبلغ"), this);
    optValue_->setObjectName(QStringLiteral("optMasterDiscountValue"));
    QLineEdit* percent =
        addText(g, 3, 0, "txtMasterDiscountPercent", QStringLiteral("تخفيف كلي (درصد)"));
    QLineEdit* value =
        addText(g, 3, 2, "txtMasterDiscountValue", QStringLiteral("تخفيف كلي (مبلغ)"));
    percent->setAlignment(Qt::AlignLeft);
    value->setAlignment(Qt::AlignLeft);
    g->addWidget(optPercent_, 3, 4);
    g->addWidget(optValue_, 3, 5);
    return box;
}

QWidget* FormMain::buildCommands() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, const char*> commands[] = {{"cmdNew", "جديد"},
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
                                                            {"cmdCustomerName", "نام مشتري"},
                                                            {"cmdNewRelationship", "ارتباط جديد"},
                                                            {"cmdRelatedForms", "فرمهاي مرتبط"},
                                                            {"cmdExit", "خروج"}};
    for (const auto& [name, text] : commands)
        addCommand(row, name, QString::fromUtf8(text), QString::fromLatin1(name));
    row->addStretch();
    return bar;
}

void FormMain::buildForm() {
    auto* outer = new QVBoxLayout(this);
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

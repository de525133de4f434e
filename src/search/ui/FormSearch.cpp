#include "search/ui/FormSearch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

#include "common/CommandGuard.h"
#include "controls/ui/JalaliDateEdit.h"
#include "controls/ui/SelectorWidget.h"
#include "printing/ui/FrmReport.h"
#include "search/ui/BatchDialogs.h"
#include "search/ui/InvoiceResultView.h"

namespace si {

namespace {

// Each row: three cells of a caption and its controls.
struct Cell {
    const char* label;
    std::initializer_list<const char*> controls;
};

const char* const kTicks[] = {"chkNaghd", "chkNotNaghd", "chkFormal", "chkInFormal",
                              "chkTemp",  "chkFinal",    "chkDist",   "chkNonDist"};
const char* const kTickTexts[] = {"نقدي", "غير نقدي", "رسمي",      "غير رسمي",
                                  "موقت", "نهايي",    "توزيع شده", "توزيع نشده"};

bool isCompanion(const QString& name) {
    for (const SearchFilter& f : SearchFilters())
        if (f.companion && name == QLatin1String(f.companion)) return true;
    return false;
}

}  // namespace

FormSearch::FormSearch(Context& ctx, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      logic_(ctx, this),
      printer_(ctx),
      dialogs_(std::make_unique<BatchDialogs>(this)),
      frontEnd_(dialogs_.get()) {
    // Not a child: its list and buttons are not the form's controls.
    chooser_ = std::make_unique<FrmReport>(ctx);
    printer_.setChooser(chooser_.get());
    setObjectName(QStringLiteral("FormSearch"));
    setWindowTitle(QStringLiteral("جستجوي فاكتور فروش"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QGridLayout;
    filters->setHorizontalSpacing(6);
    filters->setVerticalSpacing(3);
    buildFilters(filters);
    layout->addLayout(filters);

    grid_ = new InvoiceResultView(logic_.result(), this);
    grid_->setObjectName(QStringLiteral("flexSearch"));
    layout->addWidget(grid_, 1);
    connect(grid_, &InvoiceResultView::rowClicked, this,
            [this](int row) { logic_.result().toggleMark(row); });
    connect(grid_, &InvoiceResultView::invoiceOpened, this, &FormSearch::choose);

    auto* commands = new QHBoxLayout;
    layout->addLayout(commands);
    auto* cmdSearch = command("cmdSearch", QStringLiteral("جستجو"));
    cmdSearch->setDefault(true);
    connect(cmdSearch, &QPushButton::clicked, this, &FormSearch::search);
    connect(command("cmdNewSearch", QStringLiteral("جستجوي جديد")), &QPushButton::clicked, this,
            &FormSearch::ClearForm);
    connect(command("cmdSelectAll", QStringLiteral("انتخاب همه")), &QPushButton::clicked, this,
            [this] { logic_.result().markAll(); });
    connect(command("cmdSelectNone", QStringLiteral("هيچكدام")), &QPushButton::clicked, this,
            [this] { logic_.result().markNone(); });
    connect(command("cmdSelectInverse", QStringLiteral("معكوس")), &QPushButton::clicked, this,
            [this] { logic_.result().invertMarks(); });
    addBatchCommands();
    for (QPushButton* b : findChildren<QPushButton*>())
        commands->addWidget(b);
    commands->addStretch(1);
    cmdOK_ = command("cmdOK", QStringLiteral("تاييد"));
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        if (picking_) return accept();
        const QModelIndex current = grid_->currentIndex();
        if (current.isValid()) choose(logic_.result().invoiceId(current.row()));
    });
    commands->addWidget(cmdOK_);
    auto* cmdExit = command("cmdExit", QStringLiteral("خروج"));
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    commands->addWidget(cmdExit);
    fitTheScreen();
}

FormSearch::~FormSearch() = default;

// The whole screen of a till: the filters take what they need, the grid the rest.
void FormSearch::fitTheScreen() {
    if (const QScreen* s = screen()) {
        const QRect available = s->availableGeometry();
        resize(std::min(available.width(), 1366), available.height() - 30);
    }
}

void FormSearch::addBatchCommands() {
    connect(command("cmdPrint", QStringLiteral("چاپ فهرست")), &QPushButton::clicked, this,
            &FormSearch::cmdPrint_Click);
    cmdToExcel_ = command("cmdToExcel", QStringLiteral("اكسل"));
    connect(cmdToExcel_, &QPushButton::clicked, this, &FormSearch::cmdToExcel_Click);
    connect(command("cmdBatchPrint", QStringLiteral("چاپ فاكتورها")), &QPushButton::clicked, this,
            &FormSearch::cmdBatchPrint_Click);
    connect(command("cmdBatchDelete", QStringLiteral("حذف موقتها")), &QPushButton::clicked, this,
            &FormSearch::cmdBatchDelete_Click);
}

SearchBatch FormSearch::batch() {
    return SearchBatch(ctx_, logic_.result(), *frontEnd_);
}

void FormSearch::cmdPrint_Click() {
    Guarded(ctx_, [this] { batch().cmdPrint(printer_); });
}

// The button stays disabled until the file is written and handed to its program.
void FormSearch::cmdToExcel_Click() {
    cmdToExcel_->setEnabled(false);
    Guarded(ctx_, [this] { batch().cmdToExcel(); });
    cmdToExcel_->setEnabled(true);
}

void FormSearch::cmdBatchPrint_Click() {
    Guarded(ctx_, [this] { batch().cmdBatchPrint(printer_); });
}

void FormSearch::cmdBatchDelete_Click() {
    Guarded(ctx_, [this] { batch().cmdBatchDelete(); });
}

QPushButton* FormSearch::command(const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void FormSearch::buildFilters(QGridLayout* grid) {
    const std::initializer_list<std::initializer_list<Cell>> rows{
        {{"مشتري", {"sltCustomer", "chkAllCustomer"}},
         {"تهيه كننده", {"sltCreator"}},
         {"نوع فاكتور", {"cmbSLSInvoiceType"}}},
        {{"بازارياب", {"sltPromoter"}},
         {"بازارياب 2", {"sltPromoter2"}},
         {"نوع قيمتگذاري", {"sltPricingMethod"}}},
        {{"مسير بازارياب", {"sltPromoterPath", "chkAllPromoterPath"}},
         {"مسير مشتري", {"sltCustomerPath", "chkAllCustomerPath"}},
         {"شعبه", {"gmpBranch"}}},
        {{"گروه كالا", {"gmpProductGroup", "chkAllLBranches"}},
         {"پروژه/قرارداد", {"mptContract", "chkAllContract"}},
         {"كارمند خريدار", {"gmpBuyerEmployee"}}},
        {{"نحوه آشنايي", {"sltIntroductionType"}},
         {"شرايط فروش", {"cmbPreCond"}},
         {"شماره سفارش معطوف", {"txtPrevAdditionalFormSpec"}}},
        {{"تاريخ از / تا", {"dtpBeginCreateDate", "dtpEndCreateDate"}},
         {"تاريخ تسويه از / تا", {"dtpBeginClearDate", "dtpEndClearDate"}},
         {"شماره سيستمي از / تا", {"txtMinID", "txtMaxID"}}},
        {{"شماره تاييد شده از / تا", {"txtMinCode", "txtMaxCode"}},
         {"شماره حواله توزيع از / تا", {"txtMinDistID", "txtMaxDistID"}},
         {"شماره دستي (شامل) / تا", {"txtMinMCode", "txtMaxMCode"}}},
        {{"مبلغ از / تا", {"txtBeginGrandTotal", "txtEndGrandTotal"}},
         {"قابل پرداخت از / تا", {"txtMinValue", "txtMaxValue"}},
         {"تعداد كل از / تا", {"txtBeginTotalQty", "txtEndTotalQty"}}},
        {{"درصد تخفيف از / تا", {"txtBeginTotalDiscountPrcnt", "txtEndTotalDiscountPrcnt"}},
         {"مبلغ تخفيف از / تا", {"txtBeginDiscountValue", "txtEndDiscountValue"}},
         {"هزينه اضافي از / تا", {"txtBeginSuCharge", "txtEndSuCharge"}}},
        {{"شماره كارت از / تا", {"txtCardNoFrom", "txtCardNoTo"}},
         {"باركد", {"txtBarcode"}},
         {"كد كالا", {"txtISBN"}}},
        {{"نام كالا", {"txtTitle"}}, {"شرح سطر", {"txtDescription"}}, {"ملاحظات", {"txtNotes"}}},
    };
    int row = 0;
    for (const auto& cells : rows) {
        int cell = 0;
        for (const Cell& c : cells)
            addCell(grid, row, cell++, c.label, c.controls);
        ++row;
    }
    auto* ticks = new QHBoxLayout;
    for (size_t i = 0; i < std::size(kTicks); ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kTickTexts[i]), this);
        box->setObjectName(QString::fromLatin1(kTicks[i]));
        box->setChecked(true);
        ticks->addWidget(box);
    }
    ticks->addStretch(1);
    grid->addLayout(ticks, row, 0, 1, 6);
    for (int column : {1, 3, 5})
        grid->setColumnStretch(column, 1);
}

void FormSearch::addCell(QGridLayout* grid, int row, int cell, const char* label,
                         std::initializer_list<const char*> controls) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, cell * 2);
    auto* box = new QHBoxLayout;
    box->setSpacing(3);
    for (const char* name : controls)
        box->addWidget(control(name), isCompanion(QString::fromLatin1(name)) ? 0 : 1);
    grid->addLayout(box, row, cell * 2 + 1);
}

QWidget* FormSearch::control(const char* name) {
    const QString n = QString::fromLatin1(name);
    QWidget* w = nullptr;
    if (n.startsWith(QLatin1String("chk"))) {
        auto* box = new QCheckBox(QStringLiteral("زيرمجموعه"), this);
        box->setToolTip(QStringLiteral("با زيرمجموعه ها"));
        w = box;
    } else if (n.startsWith(QLatin1String("cmb"))) {
        w = new QComboBox(this);
    } else if (n.startsWith(QLatin1String("dtp"))) {
        w = new JalaliDateEdit(this);
    } else if (n.startsWith(QLatin1String("txt"))) {
        w = numberBox(n);
    } else {
        auto* selector = new SelectorWidget(logic_.selector(n), this);
        selector->setMinimumContentsLength(12);
        w = selector;
    }
    w->setObjectName(n);
    return w;
}

// Numeric boxes take the digits of every keyboard and nothing else; a discount percent above 100
// is brought back within it when the box is left.
QWidget* FormSearch::numberBox(const QString& name) {
    auto* edit = new QLineEdit(this);
    const SearchFilter* filter = FindSearchFilter(name);
    if (filter && filter->kind == FilterKind::Number) {
        static const QRegularExpression digits(QStringLiteral("[0-9۰-۹٠-٩]*"));
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
        edit->setAlignment(Qt::AlignLeft);
    }
    if (name.contains(QLatin1String("DiscountPrcnt")))
        connect(edit, &QLineEdit::editingFinished, edit,
                [edit] { edit->setText(NormalisedPercentText(edit->text())); });
    return edit;
}

SearchValues FormSearch::values() const {
    SearchValues values;
    for (QWidget* w : findChildren<QWidget*>()) {
        const QString name = w->objectName();
        // A date box is a line edit too: its date is asked first.
        if (auto* box = qobject_cast<QCheckBox*>(w); box && name.startsWith(QLatin1String("chk")))
            values.insert(name, box->isChecked());
        else if (auto* date = qobject_cast<JalaliDateEdit*>(w))
            values.insert(name, date->date());
        else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && FindSearchFilter(name))
            values.insert(name, edit->text());
        else if (auto* list = qobject_cast<QComboBox*>(w);
                 list && name.startsWith(QLatin1String("cmb")))
            values.insert(name, list->currentData());
    }
    return values;
}

void FormSearch::search() {
    Guarded(ctx_, [this] {
        const WaitCursor wait;
        logic_.cmdSearch(values());
    });
}

void FormSearch::InitializeSearch() {
    logic_.InitializeSearch();
    const auto fill = [this](const char* name, const ListItems& items) {
        auto* list = findChild<QComboBox*>(QString::fromLatin1(name));
        list->clear();
        list->addItem(QString(), QVariant());
        for (const auto& [text, id] : items)
            list->addItem(text, id);
    };
    fill("cmbSLSInvoiceType", logic_.invoiceTypes());
    fill("cmbPreCond", logic_.preconditions());
    clearControls();
}

void FormSearch::ClearForm() {
    logic_.ClearForm();
    clearControls();
}

void FormSearch::clearControls() {
    for (auto* date : findChildren<JalaliDateEdit*>())
        date->clearDate();
    for (auto* edit : findChildren<QLineEdit*>())
        if (FindSearchFilter(edit->objectName()) && !qobject_cast<JalaliDateEdit*>(edit))
            edit->clear();
    for (auto* list : findChildren<QComboBox*>())
        if (list->objectName().startsWith(QLatin1String("cmb"))) list->setCurrentIndex(0);
    for (auto* box : findChildren<QCheckBox*>())
        box->setChecked(!isCompanion(box->objectName()));
}

// A double click or Enter on a row: when browsing, that invoice ends the search.
void FormSearch::choose(qint64 id) {
    if (picking_ || id <= 0) return;
    chosen_ = id;
    accept();
}

QString FormSearch::outcome() {
    if (picking_) return logic_.pickedIds();
    return chosen_ > 0 ? QString::number(chosen_) : QString();
}

void FormSearch::prepare(bool picking) {
    picking_ = picking;
    chosen_ = 0;
}

QString FormSearch::run(bool picking) {
    prepare(picking);
    const bool ended = exec() == QDialog::Accepted;
    const QString result = ended ? outcome() : QString();
    picking_ = false;
    return result;
}

QString FormSearch::pickInvoices() {
    return run(true);
}

qint64 FormSearch::chooseInvoice() {
    return run(false).toLongLong();
}

}  // namespace si

#include "suite/LedgerWindows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Numbers.h"

namespace si::suite {

namespace {

QLabel* field(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableWidget* grid(const char* name, const QStringList& headers, int rows, QWidget* parent) {
    auto* g = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setHorizontalHeaderLabels(headers);
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return g;
}

void put(QTableWidget* g, int row, int column, const QString& text, bool amount = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (amount) item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    g->setItem(row, column, item);
}

QPushButton* exitButton(QDialog* dialog) {
    auto* exit = new QPushButton(QStringLiteral("خروج"), dialog);
    exit->setObjectName(QStringLiteral("cmdExit"));
    QObject::connect(exit, &QPushButton::clicked, dialog, &QDialog::accept);
    return exit;
}

QString documentState(const AccountDocumentView& d) {
    if (d.preDocument) return QStringLiteral("پيش سند");
    return d.finalized ? QStringLiteral("قطعي") : QStringLiteral("موقت");
}

QTableWidget* documentGrid(const AccountDocumentView& d, QWidget* parent) {
    QTableWidget* g =
        grid("flexDocument",
             {QStringLiteral("رديف"), QStringLiteral("كد حساب"), QStringLiteral("نام حساب"),
              QStringLiteral("بدهكار"), QStringLiteral("بستانكار"), QStringLiteral("شرح"),
              QStringLiteral("تفصيلي")},
             static_cast<int>(d.rows.size()), parent);
    for (int i = 0; i < d.rows.size(); ++i) {
        const DocumentViewRow& r = d.rows[i];
        put(g, i, 0, QString::number(r.rowNumber));
        put(g, i, 1, r.accountCode);
        put(g, i, 2, r.accountTitle);
        put(g, i, 3, FormatAmount(r.debit), true);
        put(g, i, 4, FormatAmount(r.credit), true);
        put(g, i, 5, r.description);
        put(g, i, 6, r.objectsText());
    }
    g->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    return g;
}

QTableWidget* assignmentGrid(const SaleAssignmentView& a, QWidget* parent) {
    QTableWidget* g =
        grid("flexAssignment",
             {QStringLiteral("رديف"), QStringLiteral("كد ميله اي"), QStringLiteral("نام كالا"),
              QStringLiteral("واحد"), QStringLiteral("تعداد"), QStringLiteral("شرح")},
             static_cast<int>(a.lines.size()), parent);
    for (int i = 0; i < a.lines.size(); ++i) {
        const AssignmentLine& l = a.lines[i];
        put(g, i, 0, QString::number(i + 1));
        put(g, i, 1, l.barcode);
        put(g, i, 2, l.goodName);
        put(g, i, 3, l.unitName);
        put(g, i, 4, QString::number(l.qty, 'g', 15), true);
        put(g, i, 5, l.description);
    }
    g->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    return g;
}

}  // namespace

QString BalanceText(Money balance) {
    if (balance.isZero()) return QStringLiteral("0");
    return FormatAmount(balance.abs()) +
           (balance > Money() ? QStringLiteral(" بدهكار") : QStringLiteral(" بستانكار"));
}

AccountDocumentWindow::AccountDocumentWindow(const AccountDocumentView& d, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmAccountDoc"));
    setWindowTitle(QStringLiteral("سند حسابداري"));
    setLayoutDirection(Qt::RightToLeft);
    auto* header = new QFormLayout;
    header->addRow(QStringLiteral("شماره سند:"), field("lblCode", d.code, this));
    header->addRow(QStringLiteral("شماره روزانه:"), field("lblDayNo", d.dayNo, this));
    header->addRow(QStringLiteral("تاريخ:"), field("lblDate", d.farsiDate, this));
    header->addRow(QStringLiteral("وضعيت:"), field("lblState", documentState(d), this));
    header->addRow(QStringLiteral("شرح:"), field("lblDescription", d.description, this));
    auto* foot = new QHBoxLayout;
    foot->addWidget(new QLabel(QStringLiteral("جمع بدهكار:"), this));
    foot->addWidget(field("lblTotalDebit", FormatAmount(d.totalDebit), this));
    foot->addWidget(new QLabel(QStringLiteral("جمع بستانكار:"), this));
    foot->addWidget(field("lblTotalCredit", FormatAmount(d.totalCredit), this));
    foot->addWidget(field(
        "lblBalanced",
        d.balanced() ? QStringLiteral("سند تراز است.") : QStringLiteral("سند تراز نيست."), this));
    foot->addStretch();
    foot->addWidget(exitButton(this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(documentGrid(d, this), 1);
    layout->addLayout(foot);
    resize(900, 520);
}

SaleAssignmentWindow::SaleAssignmentWindow(const SaleAssignmentView& a, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSaleAssignment"));
    setWindowTitle(QStringLiteral("حواله فروش"));
    setLayoutDirection(Qt::RightToLeft);
    auto* header = new QFormLayout;
    header->addRow(QStringLiteral("شماره حواله:"), field("lblCode", a.code, this));
    header->addRow(
        QStringLiteral("فاكتور فروش:"),
        field("lblInvoice", a.invoiceCode.isEmpty() ? QString::number(a.invoiceId) : a.invoiceCode,
              this));
    header->addRow(QStringLiteral("مشتري:"), field("lblCustomer", a.customerName, this));
    header->addRow(QStringLiteral("انبار:"), field("lblInventory", a.inventoryName, this));
    header->addRow(QStringLiteral("صادر كننده:"), field("lblCreator", a.creatorName, this));
    header->addRow(QStringLiteral("تاريخ:"), field("lblDate", a.farsiDate, this));
    header->addRow(QStringLiteral("ملاحظات:"), field("lblNotes", a.notes, this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(assignmentGrid(a, this), 1);
    layout->addWidget(exitButton(this), 0, Qt::AlignLeft);
    resize(760, 480);
}

TurnoverView::TurnoverView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TurnoverView"));
    setLayoutDirection(Qt::RightToLeft);
    title_ = field("lblTitle", QString(), this);
    grid_ = grid("flexTurnover",
                 {QStringLiteral("تاريخ"), QStringLiteral("شماره سند"), QStringLiteral("شرح"),
                  QStringLiteral("بدهكار"), QStringLiteral("بستانكار"), QStringLiteral("مانده")},
                 0, this);
    grid_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    // The next page when the clerk scrolls to the last screen of what is shown.
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value >= grid_->verticalScrollBar()->maximum() - grid_->verticalScrollBar()->pageStep())
            appendPage();
    });
    totalDebit_ = field("lblTotalDebit", QString(), this);
    totalCredit_ = field("lblTotalCredit", QString(), this);
    balance_ = field("lblBalance", QString(), this);
    auto* foot = new QHBoxLayout;
    foot->addWidget(new QLabel(QStringLiteral("جمع بدهكار:"), this));
    foot->addWidget(totalDebit_);
    foot->addWidget(new QLabel(QStringLiteral("جمع بستانكار:"), this));
    foot->addWidget(totalCredit_);
    foot->addWidget(new QLabel(QStringLiteral("مانده:"), this));
    foot->addWidget(balance_);
    foot->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title_);
    layout->addWidget(grid_, 1);
    layout->addLayout(foot);
}

void TurnoverView::showTurnover(TurnoverReader reader) {
    reader_.emplace(std::move(reader));
    const Turnover& t = reader_->summary();
    title_->setText(t.title);
    grid_->setRowCount(1);
    put(grid_, 0, 0, t.fromFarsiDate);
    put(grid_, 0, 1, QString());
    put(grid_, 0, 2, QStringLiteral("مانده از قبل"));
    put(grid_, 0, 3, QString());
    put(grid_, 0, 4, QString());
    put(grid_, 0, 5, BalanceText(t.broughtForward), true);
    totalDebit_->setText(FormatAmount(t.totalDebit));
    totalCredit_->setText(FormatAmount(t.totalCredit));
    balance_->setText(BalanceText(t.closingBalance()));
    appendPage();
}

void TurnoverView::appendPage() {
    if (reader_ && !reader_->atEnd()) appendRows(reader_->next(kPageRows));
}

void TurnoverView::appendRows(const QVector<TurnoverRow>& rows) {
    const int first = grid_->rowCount();
    grid_->setRowCount(first + static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const TurnoverRow& r = rows[i];
        put(grid_, first + i, 0, r.farsiDate);
        put(grid_, first + i, 1, r.documentCode);
        put(grid_, first + i, 2, r.description);
        put(grid_, first + i, 3, FormatAmount(r.debit), true);
        put(grid_, first + i, 4, FormatAmount(r.credit), true);
        put(grid_, first + i, 5, BalanceText(r.balance), true);
    }
}

}  // namespace si::suite

#include "suite/BoxTurnWindows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Numbers.h"
#include "common/Session.h"
#include "suite/BoxTurnComponent.h"
#include "suite/CashTurnManager.h"

namespace si::suite {

namespace {

QLabel* messageLine(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QStringLiteral("lblMessage"));
    l->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    l->setWordWrap(true);
    return l;
}

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

BoxTurnWindow::BoxTurnWindow(BoxTurnComponent& component, QWidget* parent)
    : QDialog(parent), component_(component) {
    setObjectName(QStringLiteral("frmBoxTurn"));
    setWindowTitle(QStringLiteral("نوبتهاي صندوق"));
    setLayoutDirection(Qt::RightToLeft);
    turns_ = new QTableWidget(0, 6, this);
    turns_->setObjectName(QStringLiteral("flexTurns"));
    turns_->setHorizontalHeaderLabels({QStringLiteral("صندوق"), QStringLiteral("نوبت"),
                                       QStringLiteral("وضعيت"), QStringLiteral("تاريخ باز شدن"),
                                       QStringLiteral("تاريخ بسته شدن"),
                                       QStringLiteral("مانده نقد")});
    turns_->setSelectionBehavior(QAbstractItemView::SelectRows);
    turns_->setSelectionMode(QAbstractItemView::SingleSelection);
    turns_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    turns_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    turns_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    turns_->verticalHeader()->hide();
    boxes_ = new QComboBox(this);
    boxes_->setObjectName(QStringLiteral("cmbCash"));
    users_ = new QComboBox(this);
    users_->setObjectName(QStringLiteral("cmbUser"));
    message_ = messageLine(this);
    auto* open = button(QStringLiteral("باز كردن نوبت"), "cmdOpen", this);
    auto* close = button(QStringLiteral("بستن نوبت"), "cmdClose", this);
    auto* admit = button(QStringLiteral("افزودن كاربر به نوبت"), "cmdAdmit", this);
    auto* done = button(QStringLiteral("خروج"), "cmdExit", this);
    connect(open, &QPushButton::clicked, this, &BoxTurnWindow::openTurn);
    connect(close, &QPushButton::clicked, this, &BoxTurnWindow::closeTurn);
    connect(admit, &QPushButton::clicked, this, &BoxTurnWindow::admitUser);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("صندوق:"), this));
    row->addWidget(boxes_, 1);
    row->addWidget(open);
    row->addWidget(close);
    row->addWidget(new QLabel(QStringLiteral("كاربر:"), this));
    row->addWidget(users_, 1);
    row->addWidget(admit);
    row->addWidget(done);
    auto* box = new QVBoxLayout(this);
    box->addWidget(turns_, 1);
    box->addLayout(row);
    box->addWidget(message_);
    resize(900, 420);
    reload();
}

void BoxTurnWindow::reload() {
    CashTurnManager manager(component_.session(), component_.userId());
    const RowSet turns = manager.UserTurns(false);
    turns_->setRowCount(turns.size());
    int r = 0;
    for (const Row& t : turns) {
        const qint64 id = t.toInt64(u"ID");
        const QStringList cells = {
            t.text(u"CashName"),
            QString::number(t.toInt(u"Turn")),
            t.toBool(u"IsOpen") ? QStringLiteral("باز") : QStringLiteral("بسته"),
            t.text(u"FarsiOpenDate"),
            t.text(u"FarsiCloseDate"),
            FormatAmount(t.money(u"Balance"))};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, id);
            turns_->setItem(r, c, item);
        }
        ++r;
    }
    if (turns_->rowCount() > 0 && turns_->currentRow() < 0) turns_->setCurrentCell(0, 0);
    boxes_->clear();
    for (const Row& b : manager.PermittedBoxes())
        boxes_->addItem(b.text(u"Name"), b.toInt(u"ID"));
    users_->clear();
    for (const Row& u : component_.session().query(
             QStringLiteral("select ID, FullName from tblUser where ID <> ? order by FullName, ID"),
             {component_.userId()}))
        users_->addItem(u.text(u"FullName"), u.toInt(u"ID"));
}

qint64 BoxTurnWindow::selectedTurn() const {
    const QTableWidgetItem* item = turns_->item(turns_->currentRow(), 0);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void BoxTurnWindow::attempt(const std::function<void()>& action) {
    message_->clear();
    try {
        action();
    } catch (const TurnRefused& r) {
        message_->setText(r.text());
    }
    reload();
}

void BoxTurnWindow::openTurn() {
    attempt([this] {
        if (boxes_->currentIndex() < 0)
            throw TurnRefused(QStringLiteral("صندوقي براي اين كاربر تعريف نشده است."));
        CashTurnManager(component_.session(), component_.userId())
            .OpenTurn(boxes_->currentData().toInt());
    });
}

void BoxTurnWindow::closeTurn() {
    attempt([this] {
        const qint64 turn = selectedTurn();
        if (turn == 0) throw TurnRefused(QStringLiteral("نوبتي انتخاب نشده است."));
        CashTurnManager(component_.session(), component_.userId()).CloseTurn(turn);
        component_.turnClosed(turn);
    });
}

void BoxTurnWindow::admitUser() {
    attempt([this] {
        const qint64 turn = selectedTurn();
        if (turn == 0 || users_->currentIndex() < 0)
            throw TurnRefused(QStringLiteral("نوبت و كاربر را انتخاب كنيد."));
        CashTurnManager(component_.session(), component_.userId())
            .AdmitUser(turn, users_->currentData().toInt());
    });
}

CashPayWindow::CashPayWindow(BoxTurnComponent& component, QWidget* parent)
    : QDialog(parent), component_(component) {
    setObjectName(QStringLiteral("frmCashPay"));
    setWindowTitle(QStringLiteral("پرداخت از صندوق"));
    setLayoutDirection(Qt::RightToLeft);
    amount_ = new QLineEdit(this);
    amount_->setObjectName(QStringLiteral("txtAmount"));
    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("txtDescription"));
    description_->setMaxLength(900);
    balance_ = new QLabel(this);
    balance_->setObjectName(QStringLiteral("lblBalance"));
    message_ = messageLine(this);
    CashTurnManager manager(component_.session(), component_.userId());
    const auto turn = component_.session().first(
        QStringLiteral("select ID from tblRecPayCashTurn where CashID = ? and Turn = ? and IsOpen "
                       "= 1"),
        {component_.cashId(), component_.turn()});
    balance_->setText(turn ? FormatAmount(manager.CashBalance(turn->toInt64(u"ID")))
                           : QStringLiteral("نوبت بسته است"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("مانده نقد نوبت:"), balance_);
    form->addRow(QStringLiteral("مبلغ (ريال):"), amount_);
    form->addRow(QStringLiteral("بابت:"), description_);
    auto* ok = button(QStringLiteral("پرداخت"), "cmdOK", this);
    auto* cancel = button(QStringLiteral("انصراف"), "cmdCancel", this);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (pay()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(message_);
    box->addLayout(buttons);
}

bool CashPayWindow::pay() {
    message_->clear();
    const Money amount = ParseAmount(amount_->text());
    if (description_->text().trimmed().isEmpty()) {
        message_->setText(QStringLiteral("شرح پرداخت را وارد كنيد."));
        return false;
    }
    try {
        CashTurnManager(component_.session(), component_.userId())
            .PayOut(component_.cashId(), component_.turn(), amount, description_->text());
        return true;
    } catch (const TurnRefused& r) {
        message_->setText(r.text());
        return false;
    }
}

}  // namespace si::suite

#include "apps/host/LoginDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ConnectionString.h"

namespace si::host {

LoginDialog::LoginDialog(const QString& connection, int preferredUserId, QWidget* parent)
    : QDialog(parent), known_(connection) {
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("ورود به سيستم فروش"));
    setLayoutDirection(Qt::RightToLeft);
    txtConnection_ = new QLineEdit(ConnectionString::redacted(connection), this);
    txtConnection_->setObjectName(QStringLiteral("txtConnection"));
    txtConnection_->setLayoutDirection(Qt::LeftToRight);
    txtConnection_->setMinimumWidth(420);
    auto* cmdConnect = new QPushButton(QStringLiteral("اتصال"), this);
    cmdConnect->setObjectName(QStringLiteral("cmdConnect"));
    cmbUser_ = new QComboBox(this);
    cmbUser_->setObjectName(QStringLiteral("cmbUser"));
    txtPassword_ = new QLineEdit(this);
    txtPassword_->setObjectName(QStringLiteral("txtPassword"));
    txtPassword_->setEchoMode(QLineEdit::Password);
    lblError_ = new QLabel(this);
    lblError_->setObjectName(QStringLiteral("lblError"));
    lblError_->setStyleSheet(QStringLiteral("color: #b00020;"));
    lblError_->setWordWrap(true);

    auto* connectionRow = new QHBoxLayout;
    connectionRow->addWidget(txtConnection_, 1);
    connectionRow->addWidget(cmdConnect);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("پايگاه داده:"), connectionRow);
    form->addRow(QStringLiteral("کاربر:"), cmbUser_);
    form->addRow(QStringLiteral("رمز عبور:"), txtPassword_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ورود"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("انصراف"));
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(lblError_);
    outer->addWidget(buttons);

    connect(cmdConnect, &QPushButton::clicked, this, &LoginDialog::connectDatabase);
    connect(txtConnection_, &QLineEdit::returnPressed, this, &LoginDialog::connectDatabase);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);
    connectDatabase();
    fillUsers(preferredUserId);
    txtPassword_->setFocus();
}

QString LoginDialog::typedConnection() const {
    return ConnectionString::unredacted(txtConnection_->text().trimmed(), known_);
}

void LoginDialog::connectDatabase() {
    const int current = cmbUser_->currentData().toInt();
    known_ = typedConnection();
    txtConnection_->setText(ConnectionString::redacted(known_));
    logic_.connect(known_);
    lblError_->setText(logic_.error());
    fillUsers(current);
}

void LoginDialog::fillUsers(int preferredUserId) {
    cmbUser_->clear();
    for (const UserAccount& u : logic_.users()) {
        cmbUser_->addItem(u.FullName.isEmpty() ? u.UserName : u.FullName, u.ID);
        if (u.ID == preferredUserId) cmbUser_->setCurrentIndex(cmbUser_->count() - 1);
    }
}

void LoginDialog::accept() {
    if (typedConnection() != logic_.connection()) {
        connectDatabase();  // the users listed must be those of the database typed
        return;
    }
    if (!logic_.connected()) {
        lblError_->setText(logic_.error());
        return;
    }
    const LoginResult result = logic_.login(cmbUser_->currentData().toInt(), txtPassword_->text());
    if (!result.ok()) {
        lblError_->setText(result.error);
        txtPassword_->clear();
        txtPassword_->setFocus();
        return;
    }
    user_ = *result.user;
    QDialog::accept();
}

}  // namespace si::host

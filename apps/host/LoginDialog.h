#pragma once
// The login dialog: the database to work on, a user from its tblUser and the password. It stays
// open until the check passes or the user cancels; LoginLogic decides. The connection string is
// shown with its password masked; a mask left in place while the rest is edited keeps the
// password it stands for.

#include <QDialog>

#include "apps/host/Login.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace si::host {

class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(const QString& connection, int preferredUserId, QWidget* parent = nullptr);

    const UserAccount& user() const { return user_; }
    QString connection() const { return logic_.connection(); }

    void accept() override;

private:
    void connectDatabase();
    // What the connection box means: its text with a masked password put back.
    QString typedConnection() const;
    void fillUsers(int preferredUserId);

    LoginLogic logic_;
    QString known_;  // the connection last given or typed, password included
    UserAccount user_;
    QLineEdit* txtConnection_ = nullptr;
    QComboBox* cmbUser_ = nullptr;
    QLineEdit* txtPassword_ = nullptr;
    QLabel* lblError_ = nullptr;
};

}  // namespace si::host

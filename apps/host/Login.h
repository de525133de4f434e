#pragma once
// Logging in to the host: the active users of tblUser, and the password check. A user whose
// stored Password is empty logs in without one; otherwise the SHA-256 of the typed password, in
// hexadecimal, must equal the stored text. The control gets the session from the chosen user.

#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "common/Session.h"

namespace si {
class comSaleInvoice1;
}

namespace si::host {

struct UserAccount {
    int ID = 0;
    QString UserName;
    QString FullName;
    int PositionID = 0;
    int EmployeeID = 0;
    QString Password;  // the stored hash, empty for none
    bool IsAdmin = false;
};

QString PasswordHash(const QString& password);
bool PasswordMatches(const UserAccount& user, const QString& typed);

std::vector<UserAccount> ActiveUsers(Session& db);
std::optional<UserAccount> FindActiveUser(Session& db, int id);

struct LoginResult {
    std::optional<UserAccount> user;
    QString error;  // Persian, when refused
    bool ok() const { return user.has_value(); }
};

// The login dialog's logic: one database, its users, and the check.
class LoginLogic {
public:
    // Opens the database and reads its active users; false (with error()) when it cannot.
    bool connect(const QString& connection);
    bool connected() const { return session_ != nullptr; }
    const QString& connection() const { return connection_; }
    const std::vector<UserAccount>& users() const { return users_; }
    const QString& error() const { return error_; }

    LoginResult login(int userId, const QString& password);
    // --user: the user's account without a password, for automation on the console.
    LoginResult loginWithoutPassword(int userId);

private:
    std::unique_ptr<Session> session_;
    QString connection_;
    std::vector<UserAccount> users_;
    QString error_;
};

// Hands the logged-in session to the control.
void ApplyLogin(comSaleInvoice1& control, const QString& connection, const UserAccount& user);

inline const QString kWrongPasswordMessage = QStringLiteral("رمز عبور نادرست است.");
inline const QString kUnknownUserMessage = QStringLiteral("کاربر انتخاب شده فعال نيست.");

}  // namespace si::host

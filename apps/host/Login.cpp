#include "apps/host/Login.h"

#include <QCryptographicHash>
#include <stdexcept>

#include "component/comSaleInvoice1.h"

namespace si::host {

namespace {

const QString kUserColumns = QStringLiteral(
    "select ID, UserName, FullName, PositionID, EmployeeID, Password, coalesce(IsAdmin, 0) as "
    "IsAdmin from tblUser where "
    "coalesce(IsActive, 1) = 1");

UserAccount toAccount(const Row& row) {
    UserAccount u;
    u.ID = row.toInt(u"ID");
    u.UserName = row.text(u"UserName");
    u.FullName = row.text(u"FullName");
    u.PositionID = row.toInt(u"PositionID");
    u.EmployeeID = row.toInt(u"EmployeeID");
    u.Password = row.text(u"Password").trimmed();
    u.IsAdmin = row.toBool(u"IsAdmin");
    return u;
}

}  // namespace

QString PasswordHash(const QString& password) {
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool PasswordMatches(const UserAccount& user, const QString& typed) {
    if (user.Password.isEmpty()) return true;
    return PasswordHash(typed).compare(user.Password, Qt::CaseInsensitive) == 0;
}

std::vector<UserAccount> ActiveUsers(Session& db) {
    std::vector<UserAccount> users;
    for (const Row& row : db.query(kUserColumns + QStringLiteral(" order by ID")))
        users.push_back(toAccount(row));
    return users;
}

std::optional<UserAccount> FindActiveUser(Session& db, int id) {
    if (auto row = db.first(kUserColumns + QStringLiteral(" and ID = ?"), {id}))
        return toAccount(*row);
    return std::nullopt;
}

bool LoginLogic::connect(const QString& connection) {
    session_.reset();
    users_.clear();
    error_.clear();
    connection_ = connection;
    try {
        // Opening would create an empty file; a typo should not.
        session_ = Session::openExisting(connection);
        users_ = ActiveUsers(*session_);
        return true;
    } catch (const SqlError& e) {
        error_ = e.driverText();
    } catch (const std::exception& e) {
        error_ = QString::fromUtf8(e.what());
    }
    session_.reset();
    return false;
}

LoginResult LoginLogic::loginWithoutPassword(int userId) {
    if (!session_) return {std::nullopt, error_};
    if (auto user = FindActiveUser(*session_, userId)) return {user, {}};
    return {std::nullopt, kUnknownUserMessage};
}

LoginResult LoginLogic::login(int userId, const QString& password) {
    LoginResult result = loginWithoutPassword(userId);
    if (result.ok() && !PasswordMatches(*result.user, password))
        return {std::nullopt, kWrongPasswordMessage};
    return result;
}

void ApplyLogin(comSaleInvoice1& control, const QString& connection, const UserAccount& user) {
    control.setOLEConnectionString(connection);
    control.setUserID(static_cast<short>(user.ID));
    control.setPositionID(static_cast<short>(user.PositionID));
    control.setEmployeeID(static_cast<short>(user.EmployeeID));
}

}  // namespace si::host

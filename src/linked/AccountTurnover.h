#pragma once
// cmdViewAccountDetails: the turnover of the chosen customer's account, to see his debts before
// selling. The right and the account's confidentiality are checked, the customer's accounts are
// found (sorted by title), a customer with several lets the clerk choose in frmSelectAccount,
// and the account goes to the account-detail control of the accounting module. Under parameter
// 311 the header's accounting objects go to the control's object turnover instead.
//
// The account-detail control is the accounting module's component kAccountDetailProgId: it takes
// the session (UserID, PositionID, EmployeeID, OLEConnectionString) and then ShowAccount(account)
// or ShowObjectTurnover(class1, object1, class2, object2). The form keeps one instance for its
// life, as the control placed on the original form; the chooser has its own.

#include <QString>
#include <QVector>
#include <memory>

#include "common/Context.h"

namespace si {

class FormMainLogic;
class InvoiceDocument;

inline const QString kAccountDetailProgId = QStringLiteral("comAccountDetail.comAccountDetail1");

inline const QString kAccountNotOpenToPosition =
    QStringLiteral("شما به مشاهده گردش حساب اين فرد/سازمان مجاز نيستيد.");
inline const QString kSeveralAccountsSuffix =
    QStringLiteral(" بيش از يك حساب دارد. لطفا حساب مورد نظر را مشخص نماييد.");
inline const QString kAccountDetailMissing = QStringLiteral("ماژول گردش حساب نصب نشده است.");

// One of the customer's accounts as the chooser lists it.
struct CustomerAccount {
    int id = -1;
    QString AccountCode;
    QString AccountTitle;
    QString MotherCode;
    QString MotherTitle;
};

// The customer's accounts (class 7) under a parent account, by title.
QVector<CustomerAccount> CustomerAccounts(Session& db, int customerId);
// Some account of the customer is open to the position (vwAccountSecurePositions).
bool AccountsOpenToPosition(Session& db, int positionId, int customerId);

// frmSelectAccount as the command sees it: the account chosen, -1 when cancelled.
class AccountChooser {
public:
    virtual ~AccountChooser() = default;
    virtual int chooseAccount(const QVector<CustomerAccount>& accounts, const QString& message) = 0;
};

// What the command reads of the header.
struct TurnoverSubject {
    int customerId = -1;
    int class1 = -1;
    int object1 = -1;
    int class2 = -1;
    int object2 = -1;
};
TurnoverSubject TurnoverSubjectOf(const InvoiceDocument& doc);

class AccountTurnoverCommand {
public:
    explicit AccountTurnoverCommand(Context& ctx) : ctx_(ctx) {}
    ~AccountTurnoverCommand();

    // Without a chooser a customer with several accounts is shown none.
    void setChooser(AccountChooser* chooser) { chooser_ = chooser; }
    void cmdViewAccountDetails_Click(const TurnoverSubject& subject);

private:
    bool refused(const TurnoverSubject& subject);
    void showAccount(int accountId);
    void showObjects(const TurnoverSubject& subject);
    QString customerName(int customerId);
    // The form's control, created on first use; nullptr after its message.
    QObject* detailControl();

    Context& ctx_;
    AccountChooser* chooser_ = nullptr;
    std::unique_ptr<QObject> detail_;
};

void InstallAccountTurnover(FormMainLogic& form, AccountTurnoverCommand& command);

}  // namespace si

#pragma once
// The viewers the invoice form opens by ProgID, each a read-only window on its own connection:
//   comAccountDoc.comAccountDoc1       View(documentId): an accounting document, its rows with
//                                      account, debit, credit, description and objects, and its
//                                      totals, which balance;
//   comSaleAssignment.comSaleAssign    View(assignmentId): a sale assignment and its goods;
//   comAccountDetail.comAccountDetail1 the account-detail control: ShowAccount(accountId) shows
//                                      an account's turnover, ShowObjectTurnover(class1, object1,
//                                      class2, object2) the turnover of accounting objects.
// The first two show a modal window. The account-detail control is a widget: placed on another
// window it shows the turnover there; on its own it is a window of its own, which stays open.

#include <QWidget>
#include <functional>

#include "suite/SiblingComponent.h"

namespace si::suite {

class TurnoverView;
class TurnoverReader;

class AccountDocumentComponent : public SiblingComponent {
    Q_OBJECT
public:
    Q_INVOKABLE void View(int documentId);
};

class SaleAssignmentComponent : public SiblingComponent {
    Q_OBJECT
public:
    Q_INVOKABLE void View(int assignmentId);
};

class AccountDetailComponent : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int UserID MEMBER userId_)
    Q_PROPERTY(int PositionID MEMBER positionId_)
    Q_PROPERTY(int EmployeeID MEMBER employeeId_)
    Q_PROPERTY(QString OLEConnectionString MEMBER connectionString_)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    explicit AccountDetailComponent(QWidget* parent = nullptr);
    ~AccountDetailComponent() override;

    Q_INVOKABLE void ShowAccount(int accountId);
    Q_INVOKABLE void ShowObjectTurnover(int classId1, int objectId1, int classId2, int objectId2);
    QString errorMessage() const { return error_; }

    // Tests: called instead of showing the control as a window of its own.
    std::function<void(QWidget&)> showWindow;

private:
    void present(const std::function<TurnoverReader(Session&)>& read);

    int userId_ = 0, positionId_ = 0, employeeId_ = 0;
    QString connectionString_;
    QString error_;
    OwnConnection connection_;
    TurnoverView* view_;
};

}  // namespace si::suite

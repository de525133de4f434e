#pragma once
// comBoxTurn.comBoxTurn1: the cash-box module's turn manager as the invoice form opens it. Show
// lists the user's turns and opens, closes and shares them; ShowPay takes cash out of the turn
// given in CashID and Turn. The component works on its own connection, opened from
// OLEConnectionString, as the cash-box module does.
//
// Closing a turn raises SendSMS with the turn's figures to the cashier's phone when the system's
// SMS sending is on; the invoice form relays it to the host like its own messages.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "common/Money.h"

class QWidget;

namespace si {
class Session;
}

namespace si::suite {

class BoxTurnComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(int UserID MEMBER userId_)
    Q_PROPERTY(int PositionID MEMBER positionId_)
    Q_PROPERTY(int EmployeeID MEMBER employeeId_)
    Q_PROPERTY(QString OLEConnectionString MEMBER connectionString_)
    Q_PROPERTY(int SystemID MEMBER systemId_)
    Q_PROPERTY(int CashID MEMBER cashId_)
    Q_PROPERTY(int Turn MEMBER turn_)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    BoxTurnComponent();
    ~BoxTurnComponent() override;

    // The turns window, modal.
    Q_INVOKABLE void Show();
    // The payment window for the turn in CashID and Turn, modal.
    Q_INVOKABLE void ShowPay();

    QString errorMessage() const { return error_; }
    Session& session();
    int userId() const { return userId_; }
    int cashId() const { return cashId_; }
    int turn() const { return turn_; }
    // After a turn closed: its figures to the cashier's phone, when SMS sending is on.
    void turnClosed(qint64 turnId);

    // Tests: called with the window instead of exec(), so it can be driven without a modal loop.
    std::function<void(QWidget&)> showWindow;

Q_SIGNALS:
    void SendSMS(const QString& inCellPhone, const QString& inMessage);

private:
    void run(QWidget& window);

    int userId_ = 0, positionId_ = 0, employeeId_ = 0, systemId_ = 0;
    int cashId_ = -1, turn_ = -1;
    QString connectionString_;
    QString error_;
    std::unique_ptr<Session> session_;
};

}  // namespace si::suite

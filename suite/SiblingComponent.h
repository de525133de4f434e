#pragma once
// What every window component of the suite shares: the session it is handed (UserID,
// PositionID, EmployeeID, OLEConnectionString), its own connection opened from that connection
// string, the error it reports in ErrorMessage instead of throwing it at the caller, and how its
// modal windows are shown.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace si {
class Session;
}

namespace si::suite {

// The component's own connection, opened on first use and again when the connection string
// changed since.
class OwnConnection {
public:
    OwnConnection();
    ~OwnConnection();
    Session& open(const QString& connectionString);

private:
    QString opened_;
    std::unique_ptr<Session> session_;
};

class SiblingComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(int UserID MEMBER userId_)
    Q_PROPERTY(int PositionID MEMBER positionId_)
    Q_PROPERTY(int EmployeeID MEMBER employeeId_)
    Q_PROPERTY(QString OLEConnectionString MEMBER connectionString_)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    SiblingComponent();
    ~SiblingComponent() override;

    QString errorMessage() const { return error_; }
    Session& session() { return connection_.open(connectionString_); }
    int userId() const { return userId_; }
    int positionId() const { return positionId_; }
    int employeeId() const { return employeeId_; }

    // Tests: called with the window instead of exec(), so it can be driven without a modal loop.
    std::function<void(QWidget&)> showWindow;

protected:
    // Runs one call of the component; its error, if any, is kept in ErrorMessage.
    void attempt(const std::function<void()>& work);
    // A refusal of the component's own, in ErrorMessage.
    void refuse(const QString& reason) { error_ = reason; }
    void present(QDialog& window);

private:
    int userId_ = 0, positionId_ = 0, employeeId_ = 0;
    QString connectionString_;
    QString error_;
    OwnConnection connection_;
};

}  // namespace si::suite

#pragma once
// Stand-ins for the suite's sibling components: each property set and each call is written to a
// shared journal in the order it happened, so that tests see what a launcher handed over.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "common/ComponentRegistry.h"
#include "common/Money.h"

namespace si::test {

struct SiblingJournal {
    QStringList entries;  // "create ProgID", "UserID=5", "View(12)", ...
    // Set to make the next sibling's calls fail: thrown, or told in ErrorMessage.
    QString failure;
    bool reportFailure = false;
};

class RecordingSibling : public QObject {
    Q_OBJECT
    Q_PROPERTY(int UserID READ userId WRITE setUserID)
    Q_PROPERTY(int PositionID READ positionId WRITE setPositionID)
    Q_PROPERTY(int EmployeeID READ employeeId WRITE setEmployeeID)
    Q_PROPERTY(QString OLEConnectionString READ connection WRITE setOLEConnectionString)
    Q_PROPERTY(int FormTypeID READ formTypeId WRITE setFormTypeID)
    Q_PROPERTY(int FormID READ formId WRITE setFormID)
    Q_PROPERTY(si::Money SumValue READ sumValue WRITE setSumValue)
    Q_PROPERTY(int AccountID READ accountId WRITE setAccountID)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    explicit RecordingSibling(std::shared_ptr<SiblingJournal> journal)
        : journal_(std::move(journal)) {}

    Q_INVOKABLE void ClearShow() { record(QStringLiteral("ClearShow")); }
    Q_INVOKABLE void View(int id) { record(QStringLiteral("View(%1)").arg(id)); }
    Q_INVOKABLE void ShowAccount(int id) { record(QStringLiteral("ShowAccount(%1)").arg(id)); }
    Q_INVOKABLE void ShowObjectTurnover(int class1, int object1, int class2, int object2) {
        record(QStringLiteral("ShowObjectTurnover(%1,%2,%3,%4)")
                   .arg(class1)
                   .arg(object1)
                   .arg(class2)
                   .arg(object2));
    }

    int userId() const { return userId_; }
    int positionId() const { return 0; }
    int employeeId() const { return 0; }
    QString connection() const { return {}; }
    int formTypeId() const { return 0; }
    int formId() const { return 0; }
    Money sumValue() const { return {}; }
    int accountId() const { return 0; }
    QString errorMessage() const { return error_; }

    void setUserID(int v) {
        userId_ = v;
        set("UserID", v);
    }
    void setPositionID(int v) { set("PositionID", v); }
    void setEmployeeID(int v) { set("EmployeeID", v); }
    void setOLEConnectionString(const QString& v) { set("OLEConnectionString", v); }
    void setFormTypeID(int v) { set("FormTypeID", v); }
    void setFormID(int v) { set("FormID", v); }
    void setSumValue(Money v) { set("SumValue", v.toString()); }
    void setAccountID(int v) { set("AccountID", v); }

private:
    void set(const char* name, const QVariant& value) {
        journal_->entries << QString::fromLatin1(name) + u'=' + value.toString();
    }
    void record(const QString& call);

    std::shared_ptr<SiblingJournal> journal_;
    int userId_ = 0;
    QString error_;
};

// A sibling that takes the session and nothing else.
class SessionOnlySibling : public QObject {
    Q_OBJECT
    Q_PROPERTY(int UserID MEMBER value)
    Q_PROPERTY(int PositionID MEMBER value)
    Q_PROPERTY(int EmployeeID MEMBER value)
    Q_PROPERTY(QString OLEConnectionString MEMBER text)
public:
    Q_INVOKABLE void ClearShow() {}
    int value = 0;
    QString text;
};

// Registers a recording sibling under the ProgID; every creation is journaled.
void RegisterRecording(ComponentRegistry& registry, const QString& progId,
                       const std::shared_ptr<SiblingJournal>& journal);

}  // namespace si::test

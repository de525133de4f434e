#pragma once
// Sibling components of the ERP, created by ProgID ("comMessage.comMSG", ...). Properties go
// through QObject::setProperty and calls through QMetaObject::invokeMethod, as late-bound COM
// calls did. An unregistered ProgID plays the part of error 429: create() returns nullptr.

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace si {

class ComponentRegistry {
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;

    void add(const QString& progId, Factory factory);
    void remove(const QString& progId);
    bool contains(const QString& progId) const;
    // The factory registered under the ProgID; empty when there is none.
    Factory factory(const QString& progId) const;
    std::unique_ptr<QObject> create(const QString& progId) const;

private:
    QHash<QString, Factory> factories_;
};

// Sets properties in the given order (the order is part of some components' contract).
void SetProperties(QObject& component, const std::vector<std::pair<const char*, QVariant>>& values);
// Calls a method without arguments by name; false when the component has no such method.
bool Invoke(QObject& component, const char* method);

}  // namespace si

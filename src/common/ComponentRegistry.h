#pragma once
// Sibling components of the ERP, created by ProgID ("comMessage.comMSG", ...). Properties go
// through QObject::setProperty and calls through QMetaObject::invokeMethod, as late-bound COM
// calls did. An unregistered ProgID plays the part of error 429: create() returns nullptr.
//
// Registering a missing component: the suite's installer registered an OCX with a command line
// (Regsvr32). There is no such program here; runRegistration keeps the command line in the log,
// writes it to the application's log, and hands it to the registrar when one is set (an
// installer, or a test that registers the component as the real program would).

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace si {

class ComponentRegistry {
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;
    using Registrar = std::function<void(const QString& commandLine)>;

    void add(const QString& progId, Factory factory);
    void remove(const QString& progId);
    bool contains(const QString& progId) const;
    // The factory registered under the ProgID; empty when there is none.
    Factory factory(const QString& progId) const;
    std::unique_ptr<QObject> create(const QString& progId) const;

    // Runs a registration command line; it does not wait for any result.
    void runRegistration(const QString& commandLine);
    // Every registration command line run, oldest first.
    const QStringList& registrationLog() const { return registrationLog_; }
    void setRegistrar(Registrar registrar) { registrar_ = std::move(registrar); }

private:
    QHash<QString, Factory> factories_;
    QStringList registrationLog_;
    Registrar registrar_;
};

// Sets properties in the given order (the order is part of some components' contract).
void SetProperties(QObject& component, const std::vector<std::pair<const char*, QVariant>>& values);
// Calls a method without arguments by name; false when the component has no such method.
bool Invoke(QObject& component, const char* method);
// Calls the method of that name taking as many arguments as given, each argument converted to
// the parameter's type; false when there is no such method or an argument does not convert. An
// exception thrown by the method reaches the caller.
bool Invoke(QObject& component, const char* method, const QVariantList& args);

}  // namespace si

#pragma once
// Stored procedures of the ERP database, written in C++ (erpdb/procedures) and registered by name
// at start-up. Session::call looks them up here; they run SQL on the caller's connection, so they
// take part in the caller's transaction.

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>

namespace si {

class Session;

// Arguments are positional and by reference: a procedure writes its output parameters into
// them; its return value is the procedure's return value.
using Procedure = std::function<QVariant(Session&, QVariantList& args)>;

class ProcedureRegistry {
public:
    void add(const QString& name, Procedure procedure);
    const Procedure* find(const QString& name) const;  // "dbo." prefix and case ignored
    bool contains(const QString& name) const { return find(name) != nullptr; }

private:
    static QString key(QString name);
    QHash<QString, Procedure> procedures_;
};

}  // namespace si

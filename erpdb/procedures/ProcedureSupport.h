#pragma once
// Helpers for writing the database's procedures in C++: positional arguments read safely, as a
// stored procedure sees a missing trailing argument as NULL.

#include <QVariant>
#include <QVariantList>

#include "common/Money.h"
#include "common/ProcedureRegistry.h"

namespace si::erpdb {

inline QVariant Arg(const QVariantList& args, int index) {
    return index < args.size() ? args[index] : QVariant();
}
inline int ArgInt(const QVariantList& args, int index, int ifNull = 0) {
    const QVariant v = Arg(args, index);
    return v.isNull() || !v.isValid() ? ifNull : v.toInt();
}
inline Money ArgMoney(const QVariantList& args, int index) {
    return Money::fromVariant(Arg(args, index));
}
// Writes an output argument, growing the list when the caller passed fewer.
inline void SetOut(QVariantList& args, int index, const QVariant& value) {
    while (args.size() <= index)
        args.append(QVariant());
    args[index] = value;
}

void RegisterCoreProcedures(ProcedureRegistry& registry);
void RegisterCreditProcedures(ProcedureRegistry& registry);
void RegisterScaleProcedures(ProcedureRegistry& registry);
void RegisterSaleProcedures(ProcedureRegistry& registry);
void RegisterAccountProcedures(ProcedureRegistry& registry);
void RegisterDocumentProcedures(ProcedureRegistry& registry);

}  // namespace si::erpdb

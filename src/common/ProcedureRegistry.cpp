#include "common/ProcedureRegistry.h"

namespace si {

QString ProcedureRegistry::key(QString name) {
    name = name.trimmed().toLower();
    if (name.startsWith(QLatin1String("dbo."))) name.remove(0, 4);
    return name;
}

void ProcedureRegistry::add(const QString& name, Procedure procedure) {
    procedures_.insert(key(name), std::move(procedure));
}

const Procedure* ProcedureRegistry::find(const QString& name) const {
    auto it = procedures_.constFind(key(name));
    return it == procedures_.constEnd() ? nullptr : &it.value();
}

}  // namespace si

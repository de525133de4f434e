#include "common/ComponentRegistry.h"

#include <QMetaObject>

namespace si {

namespace {
QString key(const QString& progId) {
    return progId.trimmed().toLower();
}
}  // namespace

void ComponentRegistry::add(const QString& progId, Factory factory) {
    factories_.insert(key(progId), std::move(factory));
}

void ComponentRegistry::remove(const QString& progId) {
    factories_.remove(key(progId));
}

bool ComponentRegistry::contains(const QString& progId) const {
    return factories_.contains(key(progId));
}

ComponentRegistry::Factory ComponentRegistry::factory(const QString& progId) const {
    return factories_.value(key(progId));
}

std::unique_ptr<QObject> ComponentRegistry::create(const QString& progId) const {
    auto it = factories_.constFind(key(progId));
    if (it == factories_.constEnd()) return nullptr;
    return it.value()();
}

void SetProperties(QObject& component,
                   const std::vector<std::pair<const char*, QVariant>>& values) {
    for (const auto& [name, value] : values)
        component.setProperty(name, value);
}

bool Invoke(QObject& component, const char* method) {
    return QMetaObject::invokeMethod(&component, method, Qt::DirectConnection);
}

}  // namespace si

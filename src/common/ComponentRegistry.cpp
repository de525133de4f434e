#include "common/ComponentRegistry.h"

#include <QLoggingCategory>
#include <QMetaMethod>
#include <QMetaObject>
#include <array>
#include <optional>

namespace si {

namespace {

Q_LOGGING_CATEGORY(lcComponents, "saleinvoice.components")

QString key(const QString& progId) {
    return progId.trimmed().toLower();
}

constexpr int kMaxArguments = 10;

// The callable method (a slot or an invokable) of that name and number of parameters; the most
// derived class's first, as a late-bound call found it.
std::optional<QMetaMethod> methodOf(const QMetaObject& meta, const char* name, qsizetype count) {
    for (int i = meta.methodCount() - 1; i >= 0; --i) {
        const QMetaMethod m = meta.method(i);
        if (m.methodType() != QMetaMethod::Slot && m.methodType() != QMetaMethod::Method) continue;
        if (m.parameterCount() == count && m.name() == name) return m;
    }
    return std::nullopt;
}

// The arguments as the method's parameter types; false when one does not convert.
bool convertArguments(const QMetaMethod& m, QVariantList& args) {
    for (int p = 0; p < m.parameterCount(); ++p) {
        const QMetaType type = m.parameterMetaType(p);
        if (type == QMetaType::fromType<QVariant>()) continue;
        if (!args[p].convert(type)) return false;
    }
    return true;
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

void ComponentRegistry::runRegistration(const QString& commandLine) {
    registrationLog_.append(commandLine);
    qCInfo(lcComponents).noquote() << "registering a component:" << commandLine;
    if (registrar_) registrar_(commandLine);
}

void SetProperties(QObject& component,
                   const std::vector<std::pair<const char*, QVariant>>& values) {
    for (const auto& [name, value] : values)
        component.setProperty(name, value);
}

bool Invoke(QObject& component, const char* method) {
    return QMetaObject::invokeMethod(&component, method, Qt::DirectConnection);
}

bool Invoke(QObject& component, const char* method, const QVariantList& args) {
    if (args.size() > kMaxArguments) return false;
    const auto m = methodOf(*component.metaObject(), method, args.size());
    if (!m) return false;
    QVariantList values = args;
    if (!convertArguments(*m, values)) return false;
    std::array<QByteArray, kMaxArguments> names;
    std::array<QGenericArgument, kMaxArguments> a{};
    for (int p = 0; p < values.size(); ++p) {
        names[p] = m->parameterTypeName(p);
        const bool variant = m->parameterMetaType(p) == QMetaType::fromType<QVariant>();
        a[p] = QGenericArgument(names[p].constData(), variant ? static_cast<const void*>(&values[p])
                                                              : values[p].constData());
    }
    return m->invoke(&component, Qt::DirectConnection, a[0], a[1], a[2], a[3], a[4], a[5], a[6],
                     a[7], a[8], a[9]);
}

}  // namespace si

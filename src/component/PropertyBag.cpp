#include "component/PropertyBag.h"

namespace si {

bool PropertyBag::contains(const QString& name) const {
    for (const auto& [key, value] : values_)
        if (key == name) return true;
    return false;
}

void PropertyBag::set(const QString& name, const QVariant& value) {
    for (auto& [key, stored] : values_)
        if (key == name) {
            stored = value;
            return;
        }
    values_.emplace_back(name, value);
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) {
    readOrder_ << name;
    for (const auto& [key, value] : values_)
        if (key == name) return value;
    return defaultValue;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue) {
    writeOrder_ << name;
    if (value == defaultValue) {
        for (auto it = values_.begin(); it != values_.end(); ++it)
            if (it->first == name) {
                values_.erase(it);
                break;
            }
        return;
    }
    set(name, value);
}

}  // namespace si

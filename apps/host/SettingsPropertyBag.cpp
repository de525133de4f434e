#include "apps/host/SettingsPropertyBag.h"

namespace si::host {

SettingsPropertyBag::SettingsPropertyBag(QSettings& settings, QString group)
    : settings_(settings), group_(std::move(group)) {
    settings_.beginGroup(group_);
    const QStringList names = settings_.childKeys();
    QVariantList values;
    for (const QString& name : names)
        values << settings_.value(name);
    settings_.endGroup();
    for (qsizetype i = 0; i < names.size(); ++i)
        set(names[i], values[i]);
}

void SettingsPropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                        const QVariant& defaultValue) {
    PropertyBag::WriteProperty(name, value, defaultValue);
    if (contains(name))
        settings_.setValue(key(name), value);
    else
        settings_.remove(key(name));
}

}  // namespace si::host

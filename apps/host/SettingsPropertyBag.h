#pragma once
// The control's property bag kept in QSettings between runs (organisation "ERP_Torvan",
// application "SaleInvoiceHost" in the host; any QSettings in tests). The saved values are
// loaded into the bag when it is made; every WriteProperty is mirrored at once, and a value
// equal to its default removes the key, as the bag itself stores nothing for it.

#include <QSettings>
#include <QString>

#include "component/PropertyBag.h"

namespace si::host {

class SettingsPropertyBag : public PropertyBag {
public:
    explicit SettingsPropertyBag(QSettings& settings,
                                 QString group = QStringLiteral("comSaleInvoice1"));

    void WriteProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue) override;
    // Flushes the settings to their store.
    void sync() { settings_.sync(); }

private:
    QString key(const QString& name) const { return group_ + QLatin1Char('/') + name; }

    QSettings& settings_;
    QString group_;
};

inline const QString kSettingsOrganisation = QStringLiteral("ERP_Torvan");
inline const QString kSettingsApplication = QStringLiteral("SaleInvoiceHost");

}  // namespace si::host

#pragma once
// The container's property bag: an ordered store of named values that the host persists (with
// QSettings, for one) and hands back when it restores the control. Reading a missing key gives
// the default; writing a value equal to its default stores nothing, as the original bag did.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>
#include <vector>

namespace si {

class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    virtual QVariant ReadProperty(const QString& name, const QVariant& defaultValue);
    virtual void WriteProperty(const QString& name, const QVariant& value,
                               const QVariant& defaultValue);

    bool contains(const QString& name) const;
    const std::vector<std::pair<QString, QVariant>>& values() const { return values_; }
    // The names in the order they were read and written (tests check the order).
    const QStringList& readOrder() const { return readOrder_; }
    const QStringList& writeOrder() const { return writeOrder_; }
    void set(const QString& name, const QVariant& value);

private:
    std::vector<std::pair<QString, QVariant>> values_;
    QStringList readOrder_;
    QStringList writeOrder_;
};

}  // namespace si

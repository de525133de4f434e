#pragma once
// What the invoice form offers at a moment: the title, and for each command and field (by the
// control's name) whether it is enabled and whether it is shown. ApplyMode and the refresh timer
// compute it from the mode, the data and the rights; the form only applies it to its widgets.

#include <QHash>
#include <QString>

namespace si {

class SystemParameters;

class Availability {
public:
    void enable(const QString& control, bool on) { enabled_[control] = on; }
    void show(const QString& control, bool on) { visible_[control] = on; }
    // Unknown controls count as enabled and shown.
    bool isEnabled(const QString& control) const { return enabled_.value(control, true); }
    bool isShown(const QString& control) const { return visible_.value(control, true); }
    bool has(const QString& control) const { return enabled_.contains(control); }
    const QHash<QString, bool>& enabled() const { return enabled_; }
    const QHash<QString, bool>& visible() const { return visible_; }

    QString title;
    bool gridEditable = false;

private:
    QHash<QString, bool> enabled_;
    QHash<QString, bool> visible_;
};

// The fields and commands the system's parameters show or hide, whatever the mode: a job without
// a form asks the same rule, so a field hidden there is not asked for either.
void ApplyParameterVisibility(const SystemParameters& p, Availability& a);

}  // namespace si

#pragma once
// The checks a terminal passes before it is written, in the order the form asks them: the first
// failure stops the save with its message and puts the focus on its field.

#include <QString>
#include <optional>

#include "payment/PosStore.h"

namespace si {

struct PosRefusal {
    QString caption;
    QString text;
    QString focus;  // objectName of the field at fault
};

inline const QString kWarningCaption = QStringLiteral("هشدار");
inline const QString kFaultCaption = QStringLiteral("اشكال");

std::optional<PosRefusal> CheckPosEntry(const PosEntry& entry);

}  // namespace si

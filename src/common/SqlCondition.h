#pragma once
// A SQL condition with its bound values, as the look-up controls' list filters and the search
// form's filters are built: fixed text chosen by the code, values only as parameters.

#include <QString>

#include "common/Session.h"

namespace si {

struct SqlCondition {
    QString sql;  // e.g. "ID in (Select x.PricingMethodID from tblSalePricingMethodUser x Where
                  // x.UserID=?)"
    Params params;

    bool isEmpty() const { return sql.trimmed().isEmpty(); }
    // Both conditions, each in parentheses; an empty side is left out.
    SqlCondition operator&&(const SqlCondition& other) const {
        if (isEmpty()) return other;
        if (other.isEmpty()) return *this;
        return {
            QStringLiteral("(") + sql + QStringLiteral(") and (") + other.sql + QStringLiteral(")"),
            params + other.params};
    }
    bool operator==(const SqlCondition& other) const {
        return sql == other.sql && params == other.params;
    }
};

}  // namespace si

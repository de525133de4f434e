#include "common/UpdateColumns.h"

#include <QStringList>

namespace si {

namespace {

const QString kTable = QStringLiteral("tblSaleInvoice");

QStringList columnDefinitions(const Session& s) {
    const QString dateType = s.isSqlite() ? QStringLiteral("TEXT") : QStringLiteral("TIMESTAMP");
    return {QStringLiteral("UpdaterID INTEGER"), QStringLiteral("UpdateDate ") + dateType,
            QStringLiteral("FarsiUpdateDate VARCHAR(10)")};
}

}  // namespace

void AddUpdateColumnsWhenMissing(Session& s) {
    // The date is the one the form has always looked for: one read when the stamp is there.
    if (s.columnExists(kTable, QStringLiteral("UpdateDate"))) return;
    for (const QString& column : columnDefinitions(s)) {
        const QString name = column.section(QLatin1Char(' '), 0, 0);
        if (s.columnExists(kTable, name)) continue;
        try {
            s.exec(QStringLiteral("ALTER TABLE ") + kTable + QStringLiteral(" ADD ") + column);
        } catch (const SqlError&) {
            // Another workstation added it at the same moment.
            if (!s.columnExists(kTable, name)) throw;
        }
    }
}

}  // namespace si

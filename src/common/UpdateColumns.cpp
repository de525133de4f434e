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

// Another workstation may add it at the same moment.
void addColumn(Session& s, const QString& name, const QString& definition) {
    try {
        s.execScript(QStringLiteral("ALTER TABLE ") + kTable + QStringLiteral(" ADD ") + name +
                     u' ' + definition);
    } catch (const SqlError&) {
        if (!s.columnExists(kTable, name)) throw;
    }
}

}  // namespace

void AddUpdateColumnsWhenMissing(Session& s) {
    // The date is the one the form has always looked for: one read when the stamp is there.
    if (s.columnExists(kTable, QStringLiteral("UpdateDate"))) return;
    for (const QString& column : columnDefinitions(s)) {
        const QString name = column.section(QLatin1Char(' '), 0, 0);
        if (s.columnExists(kTable, name)) continue;
        addColumn(s, name, column.section(QLatin1Char(' '), 1));
    }
}

void AddInvoiceColumnsWhenMissing(Session& s) {
    if (s.columnsExist(kTable, {QStringLiteral("UpdateDate"), QStringLiteral("RowVersion")}))
        return;
    AddUpdateColumnsWhenMissing(s);
    AddRowVersionWhenMissing(s);
}

void AddRowVersionWhenMissing(Session& s) {
    const QString name = QStringLiteral("RowVersion");
    if (!s.columnExists(kTable, name))
        addColumn(s, name, QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
}

}  // namespace si

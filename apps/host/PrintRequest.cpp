#include "apps/host/PrintRequest.h"

#include <QFileInfo>

#include "common/ConnectionString.h"

namespace si::host {

namespace {

// Splits at every '&' that is not inside a quoted value.
QStringList splitItems(const QString& list) {
    QStringList items;
    QString current;
    bool quoted = false;
    for (QChar c : list) {
        if (c == QLatin1Char('\'')) quoted = !quoted;  // a doubled quote toggles twice
        if (c == QLatin1Char('&') && !quoted) {
            items << current;
            current.clear();
        } else {
            current += c;
        }
    }
    items << current;
    return items;
}

QString unquote(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) &&
        value.endsWith(QLatin1Char('\'')))
        return value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return value;
}

}  // namespace

std::vector<Formula> SplitFormulas(const QString& list) {
    std::vector<Formula> formulas;
    for (const QString& raw : splitItems(list)) {
        const QString item = raw.trimmed();
        if (item.isEmpty()) continue;
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        Formula f;
        f.number = static_cast<int>(formulas.size()) + 1;
        f.name = (eq < 0 ? item : item.left(eq)).trimmed();
        f.value = eq < 0 ? QString() : unquote(item.mid(eq + 1));
        formulas.push_back(f);
    }
    return formulas;
}

std::vector<PrintRequestRow> DescribePrintRequest(const PrintRequest& request) {
    std::vector<PrintRequestRow> rows = {
        {QStringLiteral("فايل قالب"), request.templateFileName, true},
        {QStringLiteral("رشته اتصال"), ConnectionString::redacted(request.connectionString), true},
        {QStringLiteral("پرس و جو"), request.sqlQuery, true},
        {QStringLiteral("پيش نمايش"),
         request.preview ? QStringLiteral("بله") : QStringLiteral("خير"), false}};
    for (const Formula& f : SplitFormulas(request.formulas))
        rows.push_back({QStringLiteral("فرمول %1: %2").arg(f.number).arg(f.name), f.value, false});
    return rows;
}

QString NoEngineNote(const QString& templateFileName) {
    const QString suffix = QFileInfo(templateFileName).suffix();
    const QString format =
        suffix.isEmpty() ? QStringLiteral("اين قالب") : QStringLiteral("قالبهاي «.%1»").arg(suffix);
    return QStringLiteral(
               "موتور گزارشي براي %1 نصب نشده است؛ مقادير درخواست چاپ در زير آمده "
               "است.")
        .arg(format);
}

}  // namespace si::host

#pragma once
// What PrintByDotNet hands the host: the template file, the connection string, the formula list,
// the SQL and the preview flag. The report component renders templates of its own format itself
// and hands the host only the others (old report files); the host has no engine for those, so it
// says so and shows the request.
//
// The formula list is "name=value" items joined by '&'; a text value is between single quotes
// (a quote inside doubled) and may itself hold '&' or '='. Empty items are skipped and do not
// take a number, as the report component numbers them.

#include <QString>
#include <vector>

namespace si::host {

struct PrintRequest {
    QString templateFileName;
    QString connectionString;
    QString formulas;
    QString sqlQuery;
    bool preview = false;
};

struct Formula {
    int number = 0;
    QString name;
    QString value;  // quotes removed
};

std::vector<Formula> SplitFormulas(const QString& list);

// One row of the print-request dialog. Technical values (paths, connection, SQL) read left to
// right.
struct PrintRequestRow {
    QString caption;
    QString value;
    bool technical = false;
    bool operator==(const PrintRequestRow&) const = default;
};

std::vector<PrintRequestRow> DescribePrintRequest(const PrintRequest& request);

// What the host tells the clerk about a request: it has no engine for the template's format.
QString NoEngineNote(const QString& templateFileName);

}  // namespace si::host

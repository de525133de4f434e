#pragma once
// Reads what a report shows from the database: the detail rows of the template's view for the
// invoices the report is about. The invoices come from the selection text when it names any
// ("{tblSaleInvoice.ID}=17"), else from formula fmlSLSInvoiceID. Every ID is a bound parameter;
// the view and its columns are names the template gives, used only after the database has
// confirmed that they exist.

#include <QList>
#include <QString>

#include "common/Session.h"
#include "suite/report/ReportTemplate.h"
#include "suite/report/ReportValues.h"

namespace si::suite::report {

QList<qint64> ReportInvoiceIds(const Formulas& formulas, const QString& selection);

// The rows of the view for these invoices, in the template's order.
// Throws ReportError when the template names a view or column the database does not have.
RowSet LoadDetailRows(Session& session, const ReportTemplate& tmpl, const QList<qint64>& ids);

// The formulas, and the detail rows when the template reads data (then it needs a session and
// at least one invoice, or throws ReportError).
ReportContent LoadContent(Session* session, const ReportTemplate& tmpl, Formulas formulas,
                          const QString& selection);

}  // namespace si::suite::report

#include "suite/report/ReportData.h"

#include <QRegularExpression>

namespace si::suite::report {

namespace {

void requireName(const QString& name, const QString& what) {
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(name).hasMatch())
        throw ReportError(QStringLiteral("نام %1 «%2» در قالب گزارش درست نيست.").arg(what, name));
}

void requireSchema(Session& session, const ReportTemplate& tmpl) {
    requireName(tmpl.view, QStringLiteral("نما"));
    requireName(tmpl.key, QStringLiteral("ستون"));
    for (const QString& column : tmpl.order)
        requireName(column, QStringLiteral("ستون"));
    if (!session.tableExists(tmpl.view))
        throw ReportError(
            QStringLiteral("نماي «%1» قالب گزارش در پايگاه داده نيست.").arg(tmpl.view));
    if (!session.columnsExist(tmpl.view, QStringList(tmpl.order) << tmpl.key))
        throw ReportError(
            QStringLiteral("ستونهاي «%1» در نماي «%2» نيستند.")
                .arg((QStringList(tmpl.order) << tmpl.key).join(QStringLiteral("، ")), tmpl.view));
}

}  // namespace

QList<qint64> ReportInvoiceIds(const Formulas& formulas, const QString& selection) {
    QList<qint64> ids = SelectedInvoiceIds(selection);
    if (!ids.isEmpty()) return ids;
    bool ok = false;
    const qint64 id = formulas.value(QStringLiteral("fmlslsinvoiceid")).trimmed().toLongLong(&ok);
    if (ok && id > 0) ids << id;
    return ids;
}

RowSet LoadDetailRows(Session& session, const ReportTemplate& tmpl, const QList<qint64>& ids) {
    requireSchema(session, tmpl);
    Params params;
    for (qint64 id : ids)
        params << id;
    const QString marks =
        QStringLiteral("?") + QStringLiteral(", ?").repeated(static_cast<int>(ids.size()) - 1);
    // The names were checked above against the database's own.
    const QString order = tmpl.order.isEmpty() ? tmpl.key : tmpl.order.join(QStringLiteral(", "));
    return session.query(QStringLiteral("select * from %1 where %2 in (%3) order by %4")
                             .arg(tmpl.view, tmpl.key, marks, order),
                         params);
}

ReportContent LoadContent(Session* session, const ReportTemplate& tmpl, Formulas formulas,
                          const QString& selection) {
    ReportContent content{std::move(formulas), {}};
    if (!tmpl.readsData) return content;
    const QList<qint64> ids = ReportInvoiceIds(content.formulas, selection);
    if (ids.isEmpty())
        throw ReportError(
            QStringLiteral("فاکتوري که گزارش درباره آن است مشخص نيست (فرمول "
                           "fmlSLSInvoiceID يا متن انتخاب)."));
    if (!session)
        throw ReportError(QStringLiteral("رشته اتصال به پايگاه داده به گزارش داده نشده است."));
    content.rows = LoadDetailRows(*session, tmpl, ids);
    return content;
}

}  // namespace si::suite::report

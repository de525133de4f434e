#include "printing/ReportHandOver.h"

#include <QMetaObject>

#include "common/Messages.h"
#include "printing/PrintTexts.h"

namespace si {

QString QuotedText(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

void FormulaList::text(const QString& name, const QString& value) {
    items_ << name + QLatin1Char('=') + QuotedText(value);
}

void FormulaList::number(const QString& name, Money value) {
    items_ << name + QLatin1Char('=') + value.toString();
}

void FormulaList::number(const QString& name, qint64 value) {
    items_ << name + QLatin1Char('=') + QString::number(value);
}

QMap<int, QString> NumberedFormulas(const QStringList& items) {
    QMap<int, QString> numbered;
    for (const QString& item : items)
        if (!item.trimmed().isEmpty()) numbered.insert(static_cast<int>(numbered.size()) + 1, item);
    return numbered;
}

std::unique_ptr<QObject> CreateReportComponent(Context& ctx, QObject* relay) {
    auto component = ctx.components->create(kReportProgId);
    if (!component) {
        ShowMessage(ctx, kErrorCaption, print::kReportNotInstalled);
        return nullptr;
    }
    if (relay)
        QObject::connect(
            component.get(), SIGNAL(PrintByDotNet(QString&, QString&, QString&, QString&, bool&)),
            relay, SIGNAL(PrintByDotNet(QString&, QString&, QString&, QString&, bool&)),
            Qt::DirectConnection);
    return component;
}

namespace {

void setFormulas(QObject& component, const QMap<int, QString>& formulas) {
    QMetaObject::invokeMethod(&component, "ClearFormulas", Qt::DirectConnection);
    for (auto it = formulas.cbegin(); it != formulas.cend(); ++it)
        QMetaObject::invokeMethod(&component, "SetFormula", Qt::DirectConnection,
                                  Q_ARG(int, it.key()), Q_ARG(QString, it.value()));
}

}  // namespace

bool PrintReport(Context& ctx, QObject& component, const ReportJob& job) {
    SetProperties(component,
                  {{"ReportFileName", job.path}, {"Connect", ctx.globals.CurrentConnectionString}});
    setFormulas(component, job.formulas);
    component.setProperty("SelectionFormula", job.selection);
    if (job.destination) {
        component.setProperty("Destination", static_cast<int>(*job.destination));
        if (*job.destination == ReportDestination::PdfFile)
            component.setProperty("PrintFileName", job.file);
    }
    bool output = false;
    QMetaObject::invokeMethod(&component, "PrintReport", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, output), Q_ARG(int, job.preview ? 1 : 0));
    if (!output) {
        const QString reason = component.property("ErrorMessage").toString();
        if (!reason.isEmpty()) ShowMessage(ctx, print::kProblem, reason);
    }
    return output;
}

}  // namespace si

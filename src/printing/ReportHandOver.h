#pragma once
// The hand-over to the report component comCrystalReport.comCrystalRpt, reached only by its
// ProgID: the template, the connection string, the numbered formulas, the selection text and the
// destination, then the start. The component either renders the report or raises PrintByDotNet
// with the same values, which is relayed to whoever shows the host the request.
//
// A formula list is a list of items "name=value": a text value between single quotes (a quote
// inside doubled), a number bare. The component numbers the items from 1 in list order; an empty
// item is not sent and takes no number.

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "common/Context.h"
#include "common/Money.h"

namespace si {

inline const QString kReportProgId = QStringLiteral("comCrystalReport.comCrystalRpt");

// The component's Destination.
enum class ReportDestination : int { Screen = 0, Printer = 1, PdfFile = 2 };

// 'text' with every quote doubled.
QString QuotedText(const QString& text);

// The items of a formula list in their order.
class FormulaList {
public:
    void text(const QString& name, const QString& value);
    void number(const QString& name, Money value);
    void number(const QString& name, qint64 value);
    // An item as it is, for a caller that adds one to a list built elsewhere.
    void item(const QString& item) { items_ << item; }
    const QStringList& items() const { return items_; }
    // The items joined by "&", as the host receives the list.
    QString joined() const { return items_.join(QLatin1Char('&')); }

private:
    QStringList items_;
};

// The items numbered from 1 in order; an item empty after trimming is left out and takes no
// number.
QMap<int, QString> NumberedFormulas(const QStringList& items);

// Where the outputs of a job without a form go instead of the screen or the printer.
struct ReportOutput {
    std::optional<ReportDestination> destination;  // unset: by the preview flag
    QString file;                                  // PrintFileName for a PDF file
};

struct ReportJob {
    QString path;
    QMap<int, QString> formulas;  // by number
    QString selection;            // the record selection text; empty for none
    // Unset leaves the component's destination as it is (the credit printout sets none).
    std::optional<ReportDestination> destination;
    QString file;  // PrintFileName when the destination is a PDF file
    bool preview = false;
};

// The component, its PrintByDotNet relayed to relay's signal of the same name when relay is
// given; nullptr after the message when the component is not installed.
std::unique_ptr<QObject> CreateReportComponent(Context& ctx, QObject* relay);

// PrintReport: hands the job to the component and starts it with the preview flag. False when
// the component output nothing; its reason is shown.
bool PrintReport(Context& ctx, QObject& component, const ReportJob& job);

}  // namespace si

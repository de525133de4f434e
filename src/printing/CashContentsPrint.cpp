#include "printing/CashContentsPrint.h"

#include "common/Codes.h"
#include "common/Messages.h"
#include "printing/PrintTexts.h"

namespace si {

namespace {

// The template's formula slots; slot 9 is not used.
struct Slot {
    int number;
    const char* formula;
    const char* label;  // nullptr: the cash box's name
};
constexpr Slot kSlots[] = {{1, "fmCash", nullptr},
                           {2, "fmNo", "lblCashID"},
                           {3, "fmOpenDate", "lblOpenDate"},
                           {4, "fmCashier", "lblCreator"},
                           {5, "fmCloseDate", "lblCloseDate"},
                           {6, "fmFactNo", "lblInvoicesNum"},
                           {7, "fmFactCost", "lblTotalValue"},
                           {8, "fmPercent", "lblDiscount"},
                           {10, "fmReceive", "lblTotalRecValue"},
                           {11, "fmReturnNo", "lblReturnsNum"},
                           {12, "fmReturnCost", "lblTotalReturnValue"},
                           {13, "fmRemainNo", "lblRemNum"},
                           {14, "fmRemain", "lblTotalRemValue"},
                           {15, "fmlReceive", "lblReceive"},
                           {16, "fmlPay", "lblPay"}};

QMap<int, QString> slotFormulas(const CashContentsFigures& figures) {
    QMap<int, QString> formulas;
    for (const Slot& slot : kSlots) {
        const QString value =
            slot.label ? figures.labels.value(QString::fromLatin1(slot.label)) : figures.cashName;
        formulas.insert(slot.number,
                        QString::fromLatin1(slot.formula) + QLatin1Char('=') + QuotedText(value));
    }
    return formulas;
}

QString contentsTemplate(ReportPrinter& printer) {
    Context& c = printer.ctx();
    if (c.params.flag(P::ShopMode))
        return FirstTemplatePath(c.db(), TemplateFormType::CashContents);
    if (!printer.chooser().fill(TemplateFormType::CashContents)) return {};
    return printer.chooser().choose(print::kViewCaption);
}

}  // namespace

CashContentsFigures CashContentsFiguresOf(const CashTurnContents& contents,
                                          const QString& cashName) {
    CashContentsFigures figures{cashName, {}};
    for (const auto& [name, text] : CashContentsLabels(contents))
        figures.labels.insert(name, text);
    return figures;
}

bool PrintCashContents(ReportPrinter& printer, const CashContentsFigures& figures) {
    Context& c = printer.ctx();
    if (!HasRight(c, Right::CashTurnContents)) {
        ShowMessage(c, kErrorCaption, kNoRightMessage);
        return false;
    }
    const QString chosen = contentsTemplate(printer);
    if (chosen.isEmpty()) return false;
    const auto component = printer.component();
    if (!component) return false;
    const ReportJob job{WithBasePath(chosen, InstallationBasePath(c.db())),
                        slotFormulas(figures),
                        {},
                        ReportDestination::Printer,
                        {},
                        false};
    return printer.output(*component, job);
}

}  // namespace si

// cmdLottery and the sheet routine of InvoicePrinting.

#include <algorithm>

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "printing/InvoiceFormulas.h"
#include "printing/InvoicePrinting.h"
#include "printing/PrintCounts.h"
#include "printing/PrintTexts.h"

namespace si {

namespace {

constexpr int kLotteryAmount = 3389;
constexpr int kLotteryTemplate = 3390;
constexpr int kLotteryMaximum = 3391;

std::optional<QString> generalValue(Session& s, int parameter) {
    const auto row = s.first(
        QStringLiteral("select ID, Value from tblZelorSystemParameters where ID = ?"), {parameter});
    if (!row) return std::nullopt;
    return row->text(u"Value");
}

// The user's own value wins over the general one.
std::optional<QString> templateValue(Session& s, int userId) {
    const auto row = s.first(
        QStringLiteral("select 1 as Rank, ID, Value from tblZelorSystemParameters where ID = ? "
                       "union select 2 as Rank, SystemParameterID, Value from "
                       "tblZelorSystemParametersUser where SystemParameterID = ? and UserID = ? "
                       "order by 1 desc"),
        {kLotteryTemplate, kLotteryTemplate, userId});
    if (!row) return std::nullopt;
    return row->text(u"Value");
}

}  // namespace

void InvoicePrinting::cmdLottery_Click() {
    Context& c = ctx();
    const int id = doc_.invoiceID();
    if (id < 1) return;
    if (!HasRight(c, Right::PrintInvoice)) {
        ShowMessage(c, print::kProblem, print::kNoLotteryRight);
        return;
    }
    const int printed = LotteryPrintCount(c.db(), id);
    if (printed > 0) {
        if (!HasRight(c, Right::LotteryReprint)) {
            ShowMessage(c, print::kProblem, print::LotteryReprintRefused(printed));
            return;
        }
        if (!AskedYes(c, print::kQuestion, print::LotteryReprintQuestion(printed))) return;
    }
    PrintLotterySheets();
}

int InvoicePrinting::PrintLotterySheets() {
    Context& c = ctx();
    Session& s = c.db();
    const auto refuse = [&c](const QString& text) {
        ShowMessage(c, print::kProblemArabic, text);
        return 0;
    };
    const int id = doc_.invoiceID();
    const auto amountText = generalValue(s, kLotteryAmount);
    if (!amountText) return refuse(print::kNoLotteryAmount);
    const Money amount = ToCurrency(*amountText);
    if (amount <= Money()) return refuse(print::LotteryAmountNotPositive(*amountText));
    const auto templatePath = templateValue(s, c.globals.CurrentUserID);
    if (!templatePath) return refuse(print::kNoLotteryTemplate);
    const auto maximumText = generalValue(s, kLotteryMaximum);
    if (!maximumText) return refuse(print::kNoLotteryMaximum);
    const int maximum = static_cast<int>(ToNumber(*maximumText));
    if (maximum <= 0) return refuse(print::LotteryMaximumNotPositive(*maximumText));
    const QString path = WithBasePath(*templatePath, doc_.basePath);
    if (!IsFile(path)) return refuse(print::kLotteryFileMissing);

    const FormulaList formulas = InvoiceFormulas(services_);
    qint64 sheets = std::max<qint64>(0, doc_.totals.GrandTotal.raw() / amount.raw());
    if (!AskedYes(c, print::kQuestion, print::LotterySheetsQuestion(sheets))) return 0;
    if (sheets > maximum) {
        ShowMessage(c, print::kNotice, print::LotterySheetsCapped(maximum));
        sheets = maximum;
    }
    const auto component = this->component();
    if (!component) return 0;
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        RecordLotteryPrint(s, id, c.globals.CurrentUserID);
        FormulaList numbered = formulas;
        numbered.item(QStringLiteral("fmlNo=") + QString::number(sheet));
        const ReportJob job{path,
                            NumberedFormulas(numbered.items()),
                            InvoiceSelection(id),
                            ReportDestination::Printer,
                            {},
                            false};
        if (!output(*component, job)) return sheet - 1;
    }
    return static_cast<int>(sheets);
}

}  // namespace si

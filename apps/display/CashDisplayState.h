#pragma once
// What the customer's display shows: the amount payable of the last invoice a cash desk
// announced with the line "CashID,InvoiceID", in Persian digits grouped by three, with the name of
// the cash box. A line that is not two numbers, or that names no invoice, changes nothing: the
// customer keeps seeing the last good amount. No widget here; the window only shows these texts.

#include <QByteArray>
#include <QString>
#include <optional>

#include "common/Money.h"

namespace si {
class Session;
}

namespace si::display {

struct CashNotice {
    int cashId = 0;
    int invoiceId = 0;
};

// "CashID,InvoiceID" in decimal; blanks and a line end around it are allowed. Nothing when the
// line is anything else or the invoice ID is not positive.
std::optional<CashNotice> ParseCashNotice(const QByteArray& line);

// 0-9 as the Persian digits.
QString PersianDigits(const QString& text);
// The amount as the shared formatting groups it, in Persian digits, then "ريال".
QString AmountText(Money amount);

class CashDisplayState {
public:
    enum class Outcome { Shown, Malformed, UnknownInvoice };

    // The session is read for each line; it outlives the state.
    explicit CashDisplayState(Session& session) : session_(session) {}

    // Looks the invoice and the cash box up; Shown when the texts now show them.
    Outcome receive(const QByteArray& line);

    bool hasAmount() const { return amount_.has_value(); }
    // The caption and the amount, or only a welcome until the first invoice arrives.
    QString caption() const;
    QString amountText() const;
    QString cashName() const { return cashName_; }

private:
    Session& session_;
    std::optional<Money> amount_;
    QString cashName_;
};

}  // namespace si::display

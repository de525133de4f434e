#include "apps/display/CashDisplayState.h"

#include <QList>

#include "common/Numbers.h"
#include "common/Session.h"

namespace si::display {

namespace {

std::optional<int> decimal(const QByteArray& text) {
    for (const char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

std::optional<CashNotice> ParseCashNotice(const QByteArray& line) {
    const QList<QByteArray> parts = line.trimmed().split(',');
    if (parts.size() != 2) return std::nullopt;
    const auto cash = decimal(parts[0]);
    const auto invoice = decimal(parts[1]);
    if (!cash || !invoice || *invoice < 1) return std::nullopt;
    return CashNotice{*cash, *invoice};
}

QString PersianDigits(const QString& text) {
    QString result = text;
    for (QChar& c : result)
        if (c >= u'0' && c <= u'9') c = QChar(0x06F0 + (c.unicode() - u'0'));
    return result;
}

QString AmountText(Money amount) {
    return PersianDigits(FormatAmount(amount)) + QStringLiteral(" ريال");
}

CashDisplayState::Outcome CashDisplayState::receive(const QByteArray& line) {
    const auto notice = ParseCashNotice(line);
    if (!notice) return Outcome::Malformed;
    // TotalValue is the grand total the invoice was saved with.
    const auto invoice = session_.first(
        QStringLiteral("select TotalValue from tblSaleInvoice where ID = ?"), {notice->invoiceId});
    if (!invoice) return Outcome::UnknownInvoice;
    amount_ = invoice->money(u"TotalValue");
    cashName_ =
        session_
            .scalar(QStringLiteral("select Name from tblRecPayCash where ID = ?"), {notice->cashId})
            .toString();
    return Outcome::Shown;
}

QString CashDisplayState::caption() const {
    return amount_ ? QStringLiteral("مبلغ قابل پرداخت") : QString();
}

QString CashDisplayState::amountText() const {
    return amount_ ? AmountText(*amount_) : QStringLiteral("خوش آمديد");
}

}  // namespace si::display

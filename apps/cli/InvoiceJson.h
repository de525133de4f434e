#pragma once
// JSON invoices of the command line: reading one (every field but the lines optional, unknown
// fields refused) and writing a stored invoice as `invoice show --json` prints it.

#include <QJsonObject>
#include <QString>
#include <QVector>
#include <optional>
#include <stdexcept>

#include "common/Money.h"

namespace si {
class FormMainLogic;
class Session;
}  // namespace si

namespace si::cli {

// A malformed invoice; the message is Persian and names the field.
class JsonError : public std::runtime_error {
public:
    explicit JsonError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

struct JsonLine {
    QString barcode;
    QString code;
    QString scaleBarcode;
    std::optional<double> qty;
    std::optional<int> unit;
    std::optional<QString> description;
    std::optional<Money> price;
    std::optional<double> discountPercent;
    std::optional<Money> discountValue;
    std::optional<int> pricingMethod;
    std::optional<int> promoter;
};

struct JsonCharge {
    int type = -1;
    std::optional<Money> value;
    std::optional<double> percent;
};

// A header field given in the file: absent, null (clear it) or a value.
template <typename T>
struct Given {
    bool present = false;
    std::optional<T> value;  // nullopt with present: an explicit null
};

struct JsonInvoice {
    Given<QString> date;
    Given<int> customer, inventory, type, pricingMethod, paidByCash, promoter, promoter2, branch,
        contract, preCondition;
    Given<bool> formal, checkEchantillon, sendSms;
    Given<QString> notes, message, manualCode;
    Given<QString> walkInName, walkInPhone;  // the walk-in buyer of this invoice
    std::optional<double> masterDiscountPercent;
    std::optional<Money> masterDiscountValue;
    QVector<JsonCharge> surcharges;
    QVector<JsonCharge> deductions;
    QVector<JsonLine> lines;
    // A shop's cash box and turn; without it the first open turn of the user, as on the form.
    std::optional<std::pair<int, int>> cashTurn;
};

// Parses and checks the shape of an invoice; throws JsonError.
JsonInvoice ParseInvoice(const QByteArray& text);

// The stored invoice the form shows, in the JSON of `invoice show --json`.
QJsonObject InvoiceToJson(FormMainLogic& form);

}  // namespace si::cli

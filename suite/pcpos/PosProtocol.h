#pragma once
// The line protocol between the card payment and a PC-POS terminal. The banks' own libraries are
// not available here, so each kind of terminal is reached through this protocol carrying exactly
// the values its library is given and the fields its library answers.
//
// A message is one UTF-8 line ended by "\n" (a "\r" before it is ignored):
//
//     VERB key=value;key=value;...
//
// VERB is capital letters; keys are ASCII letters, digits and '_' and occur once. In values
// '%', ';', '=', CR and LF are written %25, %3B, %3D, %0D and %0A; on reading every %XX (two hex
// digits) is decoded and any other '%' makes the line malformed, as do a pair without '=', an
// empty or repeated key, a missing verb and text that is not UTF-8.
//
// The card payment sends one request per sale and the terminal answers with one line:
//
//     SALE type=N;attempt=ID;invoice=ID;<the kind's values>
//     RESULT attempt=ID;<the kind's answer fields>
//
// The attempt id is echoed; an answer for another attempt is no answer to this sale. The invoice
// id (0 for an invoice not saved yet) goes with every sale; the kinds' own values, in order:
//   1 serial reader  connection=Serial;port=DEVICE;baud=RATE;timeout=180000;data=8;
//                    amount=RIALS;text1=;text2=
//   2 Saderat        amount=RIALS (the library's integer)
//   3 Bank Melli     ip=ADDRESS;timeouts1=5000,4000,5000;timeouts2=120000, 5000, 5000;
//                    amount=RIALS
//   4 Asan Pardakht  ip=ADDRESS;port=PORT (the configured port, the library's 17000 when none);
//                    amount=RIALS;timeout=60000
//   5 Keshavarzi     SetLan=ADDRESS, or SetCom=DEVICE without an address; Initialization=10;
//                    init2=;init3=;amount=RIALS;text=;receipt=<the fixed receipt print list>
// Answer fields, in order:
//   1 status;ResponseCode;Rrn;AccountNo;Bin;Pan;TerminalNo;TraceNumber;TransactionDate
//   2 success (1 or 0);status; then the eight fields of kind 1 from ResponseCode on
//   3 Amount;ApprovalCode;CardNo;MerchantId;OptionalField;PcPosStatus;ProcessingCode;
//     ResponseCode;Rrn;TerminalNo;TransactionNo;TransactionDate;TransactionTime
//   4 ResponseCode;ResponseText;ErrorText;Rrn;Stan;TerminalId;MerchantId;Pan;TransactionDate
//   5 ResponseCode;ResponseDescription;RRN;TerminalId;TraceNumber;TxnDate
// Outcome, and the answer fields put in the eight text columns of a card payment (ReasonCode,
// SerialTransaction, AccountNo, Bin, Pan, TerminalNo, TraceNumber, TransactionDate):
//   1, 2 approved on status 100 (1) or success 1 (2); the eight fields of the answer in order
//   3    approved when ApprovalCode is not empty and ResponseCode is a number equal to 0; '0' in
//        the seven columns and no date (the payment writes the form's date)
//   4    approved when ErrorText is empty and ResponseCode is 0; ResponseCode, Rrn, none, the
//        first six digits of Pan, Pan, TerminalId, Stan, TransactionDate
//   5    approved when ResponseCode is 0; ResponseCode, RRN, none, none, none, TerminalId,
//        TraceNumber, TxnDate
// Any other answer is a refusal; an answer lacking a field of its kind is malformed.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

#include "suite/pcpos/PosDriver.h"

namespace si::pcpos {

inline const QString kSaleVerb = QStringLiteral("SALE");
inline const QString kResultVerb = QStringLiteral("RESULT");

struct ProtocolLine {
    QString verb;
    QList<std::pair<QString, QString>> fields;

    bool has(const QString& key) const;
    QString value(const QString& key) const;  // empty when absent
    void add(const QString& key, const QString& value) { fields.append({key, value}); }
};

QString EscapeValue(const QString& value);
// A value as written on the line (UTF-8, escaped); nullopt when malformed.
std::optional<QString> UnescapeValue(QByteArrayView text);

// The line with its "\n".
QByteArray SerializeLine(const ProtocolLine& line);
// One line, with or without its line end; nullopt when malformed.
std::optional<ProtocolLine> ParseLine(QByteArrayView bytes);

// The request of a sale for the settings' kind.
ProtocolLine SaleRequestLine(const PosSettings& settings, const SaleRequest& request);
// The answer fields of a kind, in order (after the attempt id).
const QStringList& AnswerFieldNames(int typeId);
// The wait of the kind's own library for an answer.
int DefaultAnswerMs(int typeId);
// The port a kind-4 terminal is reached at: the configured one, else the library's 17000.
int AsanPardakhtPort(const PosSettings& settings);
// The fixed receipt print list handed to the Keshavarzi terminal.
QString KeshavarziReceipt();

// The sale's result from an answer of the kind (outcome, columns, fields; see PosKinds.cpp).
SaleResult ResultFromAnswer(int typeId, const ProtocolLine& answer);

}  // namespace si::pcpos

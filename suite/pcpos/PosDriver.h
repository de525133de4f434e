#pragma once
// A bank card terminal (PC-POS) as the card payment drives it: one sale at a time for an amount
// and an invoice, an asynchronous answer, a cancel and a bounded wait. One driver for each kind
// of terminal (tblRecPayPosType 1 to 5); each speaks the small line protocol of PosProtocol.h
// over the transport its kind uses, so a bank's own adapter later replaces only the transport.

#include <QMap>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace si::pcpos {

// The settings of one terminal, as the terminal configuration keeps them.
struct PosSettings {
    int typeId = 0;      // 1 serial reader, 2 Saderat, 3 Bank Melli, 4 Asan Pardakht, 5 Keshavarzi
    QString serialPort;  // the workstation's serial device (/dev/ttyS0, /dev/pts/3, ...)
    int baudRate = 0;
    QString ip;
    int ipPort = 0;
};

struct SaleRequest {
    qint64 amountRials = 0;
    int invoiceId = 0;  // 0 for an invoice not saved yet
    QString attemptId;  // the payment attempt's own identity, echoed in the answer
};

// What the terminal answered, in the fields the card payment reads.
struct SaleResult {
    enum class Outcome {
        Approved,  // the bank approved: the answer fields below are the payment's
        Refused,   // the bank or the cardholder refused: status / responseCode say why
        Failed,    // no usable answer (connection refused or dropped, malformed answer)
        TimedOut,  // no answer within the driver's wait
    };
    Outcome outcome = Outcome::Failed;
    QString attemptId;
    int status = 0;        // the terminal's status number (serial reader: 100 approved, 109 bank)
    QString responseCode;  // the bank's response code ("0", "51", ...)
    QString responseText;  // the answer's own text, when the terminal sends one
    QString approvalCode;
    QString errorText;  // Failed / TimedOut: what went wrong, for the cashier
    // The answer fields in the order of tblRecPayPosTransaction's text columns.
    QString reasonCode, serialTransaction, accountNo, bin, pan, terminalNo, traceNumber,
        transactionDate;
    // Every field of the answer as received, in order (Bank Melli's report lists them all).
    QList<std::pair<QString, QString>> fields;
};

// How long a driver waits for each step; tests make them short.
struct PosTimeouts {
    int connectMs = 5000;
    int answerMs = 0;  // 0: the kind's own (180000 serial reader, 60000 Asan Pardakht, ...)
};

class PosDriver : public QObject {
    Q_OBJECT
public:
    // Sends the sale; `finished` follows exactly once, never from inside this call. False (and
    // nothing sent) while an earlier sale of this driver is still waiting.
    virtual bool startSale(const SaleRequest& request) = 0;
    // Gives up the sale in progress: `finished` follows as Failed unless it already came.
    virtual void cancel() = 0;
    virtual bool busy() const = 0;

Q_SIGNALS:
    void finished(const si::pcpos::SaleResult& result);
};

// The driver of the settings' kind; nullptr for a kind no driver exists for.
std::unique_ptr<PosDriver> CreatePosDriver(const PosSettings& settings,
                                           const PosTimeouts& timeouts = {});

}  // namespace si::pcpos

Q_DECLARE_METATYPE(si::pcpos::SaleResult)

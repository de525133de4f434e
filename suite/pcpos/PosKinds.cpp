// The values each kind of terminal is given and how its answer reads (see PosProtocol.h).
#include <QRegularExpression>

#include "suite/pcpos/PosProtocol.h"

namespace si::pcpos {

namespace {

const QString kMalformedAnswer = QStringLiteral("پاسخ دستگاه كارتخوان نامعتبر است.");

void AddSerialReaderValues(ProtocolLine& line, const PosSettings& settings, const QString& amount) {
    line.add(QStringLiteral("connection"), QStringLiteral("Serial"));
    line.add(QStringLiteral("port"), settings.serialPort);
    line.add(QStringLiteral("baud"), QString::number(settings.baudRate));
    line.add(QStringLiteral("timeout"), QStringLiteral("180000"));
    line.add(QStringLiteral("data"), QStringLiteral("8"));
    line.add(QStringLiteral("amount"), amount);
    line.add(QStringLiteral("text1"), QString());
    line.add(QStringLiteral("text2"), QString());
}

void AddMelliValues(ProtocolLine& line, const PosSettings& settings, const QString& amount) {
    line.add(QStringLiteral("ip"), settings.ip);
    line.add(QStringLiteral("timeouts1"), QStringLiteral("5000,4000,5000"));
    line.add(QStringLiteral("timeouts2"), QStringLiteral("120000, 5000, 5000"));
    line.add(QStringLiteral("amount"), amount);
}

void AddAsanPardakhtValues(ProtocolLine& line, const PosSettings& settings, const QString& amount) {
    line.add(QStringLiteral("ip"), settings.ip);
    line.add(QStringLiteral("port"), QString::number(AsanPardakhtPort(settings)));
    line.add(QStringLiteral("amount"), amount);
    line.add(QStringLiteral("timeout"), QStringLiteral("60000"));
}

void AddKeshavarziValues(ProtocolLine& line, const PosSettings& settings, const QString& amount) {
    if (!settings.ip.isEmpty())
        line.add(QStringLiteral("SetLan"), settings.ip);
    else
        line.add(QStringLiteral("SetCom"), settings.serialPort);
    line.add(QStringLiteral("Initialization"), QStringLiteral("10"));
    line.add(QStringLiteral("init2"), QString());
    line.add(QStringLiteral("init3"), QString());
    line.add(QStringLiteral("amount"), amount);
    line.add(QStringLiteral("text"), QString());
    line.add(QStringLiteral("receipt"), KeshavarziReceipt());
}

bool IsNumericZero(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value == 0;
}

bool ToInt(const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

QString LeadingDigits(const QString& pan, int count) {
    const QString head = pan.left(count);
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(head).hasMatch() && head.size() == count ? head : QString();
}

void SetColumns(SaleResult& r, const QStringList& columns) {
    QString* const targets[] = {
        &r.reasonCode, &r.serialTransaction, &r.accountNo,   &r.bin,
        &r.pan,        &r.terminalNo,        &r.traceNumber, &r.transactionDate};
    for (int i = 0; i < 8 && i < columns.size(); ++i)
        *targets[i] = columns[i];
}

SaleResult Malformed(SaleResult result) {
    result.outcome = SaleResult::Outcome::Failed;
    result.errorText = kMalformedAnswer;
    return result;
}

SaleResult ReadSerialReader(const ProtocolLine& a, SaleResult r) {
    if (!ToInt(a.value(QStringLiteral("status")), r.status)) return Malformed(r);
    r.responseCode = a.value(QStringLiteral("ResponseCode"));
    r.outcome = r.status == 100 ? SaleResult::Outcome::Approved : SaleResult::Outcome::Refused;
    QStringList columns;
    for (const QString& name : AnswerFieldNames(1).mid(1))
        columns.append(a.value(name));
    SetColumns(r, columns);
    return r;
}

SaleResult ReadSaderat(const ProtocolLine& a, SaleResult r) {
    const QString success = a.value(QStringLiteral("success"));
    if (success != u"1" && success != u"0") return Malformed(r);
    r = ReadSerialReader(a, r);
    if (r.outcome == SaleResult::Outcome::Failed) return r;
    r.outcome = success == u"1" ? SaleResult::Outcome::Approved : SaleResult::Outcome::Refused;
    return r;
}

SaleResult ReadMelli(const ProtocolLine& a, SaleResult r) {
    r.approvalCode = a.value(QStringLiteral("ApprovalCode"));
    r.responseCode = a.value(QStringLiteral("ResponseCode"));
    ToInt(a.value(QStringLiteral("PcPosStatus")), r.status);
    const bool approved = !r.approvalCode.trimmed().isEmpty() && IsNumericZero(r.responseCode);
    r.outcome = approved ? SaleResult::Outcome::Approved : SaleResult::Outcome::Refused;
    SetColumns(r, QStringList(7, QStringLiteral("0")) << QString());
    return r;
}

SaleResult ReadAsanPardakht(const ProtocolLine& a, SaleResult r) {
    r.responseCode = a.value(QStringLiteral("ResponseCode"));
    r.responseText = a.value(QStringLiteral("ResponseText"));
    const bool approved =
        a.value(QStringLiteral("ErrorText")).isEmpty() && IsNumericZero(r.responseCode);
    r.outcome = approved ? SaleResult::Outcome::Approved : SaleResult::Outcome::Refused;
    const QString pan = a.value(QStringLiteral("Pan"));
    SetColumns(r, {r.responseCode, a.value(QStringLiteral("Rrn")), QString(), LeadingDigits(pan, 6),
                   pan, a.value(QStringLiteral("TerminalId")), a.value(QStringLiteral("Stan")),
                   a.value(QStringLiteral("TransactionDate"))});
    return r;
}

SaleResult ReadKeshavarzi(const ProtocolLine& a, SaleResult r) {
    r.responseCode = a.value(QStringLiteral("ResponseCode"));
    r.responseText = a.value(QStringLiteral("ResponseDescription"));
    r.outcome = IsNumericZero(r.responseCode) ? SaleResult::Outcome::Approved
                                              : SaleResult::Outcome::Refused;
    SetColumns(r, {r.responseCode, a.value(QStringLiteral("RRN")), QString(), QString(), QString(),
                   a.value(QStringLiteral("TerminalId")), a.value(QStringLiteral("TraceNumber")),
                   a.value(QStringLiteral("TxnDate"))});
    return r;
}

bool HasFieldsOfKind(int typeId, const ProtocolLine& answer) {
    for (const QString& name : AnswerFieldNames(typeId))
        if (!answer.has(name)) return false;
    return true;
}

}  // namespace

ProtocolLine SaleRequestLine(const PosSettings& settings, const SaleRequest& request) {
    ProtocolLine line{kSaleVerb, {}};
    line.add(QStringLiteral("type"), QString::number(settings.typeId));
    line.add(QStringLiteral("attempt"), request.attemptId);
    line.add(QStringLiteral("invoice"), QString::number(request.invoiceId));
    const QString amount = QString::number(request.amountRials);
    switch (settings.typeId) {
        case 1:
            AddSerialReaderValues(line, settings, amount);
            break;
        case 2:
            line.add(QStringLiteral("amount"), amount);
            break;
        case 3:
            AddMelliValues(line, settings, amount);
            break;
        case 4:
            AddAsanPardakhtValues(line, settings, amount);
            break;
        case 5:
            AddKeshavarziValues(line, settings, amount);
            break;
        default:
            break;
    }
    return line;
}

const QStringList& AnswerFieldNames(int typeId) {
    static const QStringList reader = {QStringLiteral("status"),
                                       QStringLiteral("ResponseCode"),
                                       QStringLiteral("Rrn"),
                                       QStringLiteral("AccountNo"),
                                       QStringLiteral("Bin"),
                                       QStringLiteral("Pan"),
                                       QStringLiteral("TerminalNo"),
                                       QStringLiteral("TraceNumber"),
                                       QStringLiteral("TransactionDate")};
    static const QStringList saderat = QStringList{QStringLiteral("success")} + reader;
    static const QStringList melli = {QStringLiteral("Amount"),
                                      QStringLiteral("ApprovalCode"),
                                      QStringLiteral("CardNo"),
                                      QStringLiteral("MerchantId"),
                                      QStringLiteral("OptionalField"),
                                      QStringLiteral("PcPosStatus"),
                                      QStringLiteral("ProcessingCode"),
                                      QStringLiteral("ResponseCode"),
                                      QStringLiteral("Rrn"),
                                      QStringLiteral("TerminalNo"),
                                      QStringLiteral("TransactionNo"),
                                      QStringLiteral("TransactionDate"),
                                      QStringLiteral("TransactionTime")};
    static const QStringList asan = {
        QStringLiteral("ResponseCode"),   QStringLiteral("ResponseText"),
        QStringLiteral("ErrorText"),      QStringLiteral("Rrn"),
        QStringLiteral("Stan"),           QStringLiteral("TerminalId"),
        QStringLiteral("MerchantId"),     QStringLiteral("Pan"),
        QStringLiteral("TransactionDate")};
    static const QStringList keshavarzi = {
        QStringLiteral("ResponseCode"), QStringLiteral("ResponseDescription"),
        QStringLiteral("RRN"),          QStringLiteral("TerminalId"),
        QStringLiteral("TraceNumber"),  QStringLiteral("TxnDate")};
    static const QStringList none;
    switch (typeId) {
        case 1:
            return reader;
        case 2:
            return saderat;
        case 3:
            return melli;
        case 4:
            return asan;
        case 5:
            return keshavarzi;
        default:
            return none;
    }
}

int DefaultAnswerMs(int typeId) {
    switch (typeId) {
        case 3:
            return 120000 + 5000 + 5000;  // the sale's time-out list
        case 4:
            return 60000;
        default:
            return 180000;
    }
}

int AsanPardakhtPort(const PosSettings& settings) {
    return settings.ipPort > 0 ? settings.ipPort : 17000;
}

QString KeshavarziReceipt() {
    return QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"utf-16\"?><List><print><item>123</item><value>a</"
        "value><alignment>0</alignment><receipttype>0</receipttype></print><print><item>456</"
        "item><value>c</value><alignment>1</alignment><receipttype>1</receipttype></print></"
        "List>");
}

SaleResult ResultFromAnswer(int typeId, const ProtocolLine& answer) {
    SaleResult result;
    result.attemptId = answer.value(QStringLiteral("attempt"));
    for (const auto& field : answer.fields)
        if (field.first != u"attempt") result.fields.append(field);
    if (answer.verb != kResultVerb || !HasFieldsOfKind(typeId, answer)) return Malformed(result);
    ProtocolLine own{answer.verb, result.fields};
    switch (typeId) {
        case 1:
            return ReadSerialReader(own, result);
        case 2:
            return ReadSaderat(own, result);
        case 3:
            return ReadMelli(own, result);
        case 4:
            return ReadAsanPardakht(own, result);
        case 5:
            return ReadKeshavarzi(own, result);
        default:
            return Malformed(result);
    }
}

}  // namespace si::pcpos

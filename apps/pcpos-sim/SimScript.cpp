#include "apps/pcpos-sim/SimScript.h"

#include <QCalendar>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>

namespace si::pcpos::sim {

namespace {

using Values = QHash<QString, QString>;

// One approved card sale as a terminal reports it.
struct Approval {
    QString rrn, trace, terminal, merchant, bin, pan, account, approvalCode, date, time;
};

QString Digits(int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + QRandomGenerator::global()->bounded(10));
    return text;
}

Approval MakeApproval(bool zeroTrace) {
    const QDateTime now = QDateTime::currentDateTime();
    Approval a;
    a.rrn = Digits(12);
    a.trace = zeroTrace ? QStringLiteral("000000") : Digits(6);
    a.terminal = QStringLiteral("21045873");
    a.merchant = QStringLiteral("000000140331807");
    a.bin = QStringLiteral("603799");
    a.pan = a.bin + QStringLiteral("******") + Digits(4);
    a.account = QStringLiteral("0105973621004");
    a.approvalCode = Digits(6);
    a.date =
        now.date().toString(QStringLiteral("yyyy/MM/dd"), QCalendar(QCalendar::System::Jalali));
    a.time = now.time().toString(QStringLiteral("HH:mm:ss"));
    return a;
}

QString RefusalText(const QString& code) {
    return code == u"51" ? QStringLiteral("موجودي كارت كافي نيست.")
                         : QStringLiteral("تراكنش ناموفق: ") + code;
}

Values ReaderValues(const SimAction& action, const Approval& a) {
    switch (action.kind) {
        case SimAction::Kind::Approve:
            return {
                {"status", "100"},          {"ResponseCode", "00"},   {"Rrn", a.rrn},
                {"AccountNo", a.account},   {"Bin", a.bin},           {"Pan", a.pan},
                {"TerminalNo", a.terminal}, {"TraceNumber", a.trace}, {"TransactionDate", a.date}};
        case SimAction::Kind::Refuse:
            return {{"status", "109"}, {"ResponseCode", action.code}, {"TerminalNo", a.terminal}};
        default:
            return {{"status", QString::number(action.status)}, {"TerminalNo", a.terminal}};
    }
}

Values SaderatValues(const SimAction& action, const Approval& a) {
    Values values = ReaderValues(action, a);
    values.insert(QStringLiteral("success"), action.kind == SimAction::Kind::Approve ? "1" : "0");
    return values;
}

Values MelliValues(const SimAction& action, const Approval& a, const QString& amount) {
    Values values = {{"Amount", amount},           {"CardNo", a.pan},
                     {"MerchantId", a.merchant},   {"PcPosStatus", "0"},
                     {"ProcessingCode", "000000"}, {"TerminalNo", a.terminal},
                     {"TransactionDate", a.date},  {"TransactionTime", a.time}};
    if (action.kind == SimAction::Kind::Approve) {
        values.insert({{"ApprovalCode", a.approvalCode},
                       {"ResponseCode", "00"},
                       {"Rrn", a.rrn},
                       {"TransactionNo", a.trace}});
    } else if (action.kind == SimAction::Kind::Refuse) {
        values.insert(QStringLiteral("ResponseCode"), action.code);
    } else {
        values.insert(QStringLiteral("PcPosStatus"), QString::number(action.status));
    }
    return values;
}

Values AsanPardakhtValues(const SimAction& action, const Approval& a) {
    Values values = {
        {"TerminalId", a.terminal}, {"MerchantId", a.merchant}, {"TransactionDate", a.date}};
    if (action.kind == SimAction::Kind::Approve) {
        values.insert({{"ResponseCode", "0"},
                       {"ResponseText", "تراكنش موفق"},
                       {"Rrn", a.rrn},
                       {"Stan", a.trace},
                       {"Pan", a.pan}});
        return values;
    }
    const QString code =
        action.kind == SimAction::Kind::Refuse ? action.code : QString::number(action.status);
    values.insert({{"ResponseCode", code},
                   {"ResponseText", RefusalText(code)},
                   {"ErrorText", QStringLiteral("خطا در تراكنش")}});
    return values;
}

Values KeshavarziValues(const SimAction& action, const Approval& a) {
    Values values = {{"TerminalId", a.terminal}, {"TxnDate", a.date}};
    if (action.kind == SimAction::Kind::Approve) {
        values.insert({{"ResponseCode", "0"},
                       {"ResponseDescription", "تراكنش موفق"},
                       {"RRN", a.rrn},
                       {"TraceNumber", a.trace}});
        return values;
    }
    const QString code =
        action.kind == SimAction::Kind::Refuse ? action.code : QString::number(action.status);
    values.insert({{"ResponseCode", code}, {"ResponseDescription", RefusalText(code)}});
    return values;
}

Values KindValues(int typeId, const SimAction& action, const ProtocolLine& request,
                  const Approval& a) {
    switch (typeId) {
        case 1:
            return ReaderValues(action, a);
        case 2:
            return SaderatValues(action, a);
        case 3:
            return MelliValues(action, a, request.value(QStringLiteral("amount")));
        case 4:
            return AsanPardakhtValues(action, a);
        default:
            return KeshavarziValues(action, a);
    }
}

std::optional<int> NonNegative(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

std::optional<SimAction> ParseLate(const QString& text) {
    const QStringList parts = text.split(u':');
    const std::optional<int> delay = parts.size() >= 3 ? NonNegative(parts[1]) : std::nullopt;
    if (!delay) return std::nullopt;
    std::optional<SimAction> inner = ParseAction(parts.mid(2).join(u':'));
    if (!inner || inner->kind == SimAction::Kind::Drop || inner->kind == SimAction::Kind::Silent)
        return std::nullopt;
    inner->delayMs = *delay;
    return inner;
}

SimAction Of(SimAction::Kind kind, const QString& code = {}, int status = 0) {
    SimAction action;
    action.kind = kind;
    action.code = code;
    action.status = status;
    return action;
}

}  // namespace

std::optional<SimAction> ParseAction(const QString& text) {
    const QString word = text.trimmed();
    if (word == u"approve") return SimAction{};
    if (word == u"drop") return Of(SimAction::Kind::Drop);
    if (word == u"silent") return Of(SimAction::Kind::Silent);
    if (word.startsWith(u"refuse:") && word.size() > 7)
        return Of(SimAction::Kind::Refuse, word.mid(7));
    if (word.startsWith(u"status:")) {
        const std::optional<int> status = NonNegative(word.mid(7));
        if (status) return Of(SimAction::Kind::Status, {}, *status);
    }
    if (word.startsWith(u"late:")) return ParseLate(word);
    return std::nullopt;
}

std::optional<QList<SimAction>> ReadScript(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    QList<SimAction> actions;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#')) continue;
        const std::optional<SimAction> action = ParseAction(line);
        if (!action) {
            *error = path + QStringLiteral(": not an answer: ") + line;
            return std::nullopt;
        }
        actions.append(*action);
    }
    return actions;
}

ProtocolLine AnswerLine(int typeId, const SimAction& action, const ProtocolLine& request,
                        bool zeroTrace) {
    const Values values = KindValues(typeId, action, request, MakeApproval(zeroTrace));
    ProtocolLine answer{kResultVerb, {}};
    answer.add(QStringLiteral("attempt"), request.value(QStringLiteral("attempt")));
    for (const QString& name : AnswerFieldNames(typeId))
        answer.add(name, values.value(name));
    return answer;
}

}  // namespace si::pcpos::sim

#pragma once
// What the simulated terminal does with each sale, in order, and the answer lines it writes.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "suite/pcpos/PosProtocol.h"

namespace si::pcpos::sim {

struct SimAction {
    enum class Kind { Approve, Refuse, Status, Drop, Silent };
    Kind kind = Kind::Approve;
    QString code;     // Refuse: the bank's response code
    int status = 0;   // Status: the terminal's status number
    int delayMs = 0;  // answer this much later
};

// "approve", "refuse:CODE", "status:N", "late:MS:<answer>", "drop" or "silent".
std::optional<SimAction> ParseAction(const QString& text);
// One action a line; blank lines and lines starting with '#' are skipped.
std::optional<QList<SimAction>> ReadScript(const QString& path, QString* error);

// The answer of a kind to a sale request, for an answering action.
ProtocolLine AnswerLine(int typeId, const SimAction& action, const ProtocolLine& request,
                        bool zeroTrace);

}  // namespace si::pcpos::sim

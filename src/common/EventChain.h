#pragma once
// The form-event log (tblZelorFormEvent) as a chain: each event carries its place in the chain
// (ChainSeq, one more than the event before it) and a code (ChainCode), the HMAC-SHA-256 under
// the installation's key (AuditKey.h) of the event's content, its place and the code before it.
// A row edited, removed or slipped in through the database alone no longer fits its neighbours
// (EventChainCheck.h). An event row is never updated once written, so its content is known
// before the insert; the row's ID, drawn by the insert, is not part of it.

#include <QByteArray>
#include <QMessageAuthenticationCode>
#include <QString>
#include <optional>

#include "common/Session.h"

namespace si {

// The content of one event as the database stores it, each field null or its stored value.
struct FormEvent {
    qint64 id = 0;  // 0 before it is written
    std::optional<qint64> eventTypeId;
    std::optional<qint64> formCode;
    std::optional<qint64> formTypeId;
    std::optional<QString> description;
    std::optional<qint64> userId;
    std::optional<QString> eventDate;  // yyyy-MM-dd HH:mm:ss, as Session stores a date-time
    std::optional<QString> farsiEventDate;
    std::optional<qint64> eventTime;
    std::optional<qint64> reasonSequence;
    std::optional<qint64> chainSeq;  // null for events written before the chain
    QString chainCode;
};

// The select list of FormEventFromRow, which reads a row by these positions.
extern const QString kFormEventColumns;

FormEvent FormEventFromRow(const Row& row);

// The event's content as the procedure's arguments give it (@EventTypeID ... @ReasonSequence),
// reduced to what the database stores: whole numbers, and the date to the second.
FormEvent FormEventFromArguments(const QVariantList& args);

// The code of the event at place seq, following the code previousCode ("" for the first).
QString EventChainCode(const QByteArray& key, const FormEvent& event, qint64 seq,
                       const QString& previousCode);
// The same with a code object keyed once, for many events.
QString EventChainCode(QMessageAuthenticationCode& mac, const FormEvent& event, qint64 seq,
                       const QString& previousCode);

// Writes the event as the next link of the chain, inside the writer transaction (joined when the
// caller holds one), so that two writers never take the same place. Throws SqlError when the key
// file is missing: no event is written unsigned.
qint64 AppendFormEvent(Session& s, FormEvent event);

}  // namespace si

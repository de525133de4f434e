#include "common/EventChain.h"

#include <QMessageAuthenticationCode>
#include <QtEndian>

#include "common/AuditKey.h"

namespace si {

const QString kFormEventColumns = QStringLiteral(
    "ID, EventTypeID, FormCode, FormTypeID, Description, UserID, EventDate, FarsiEventDate, "
    "EventTime, ReasonSequence, ChainSeq, ChainCode");

namespace {

std::optional<qint64> number(const QVariant& v) {
    if (v.isNull() || !v.isValid()) return std::nullopt;
    return v.toLongLong();
}

// A null QString is bound as NULL, so it is no text.
std::optional<QString> text(const QVariant& v) {
    if (v.isNull() || !v.isValid() || v.toString().isNull()) return std::nullopt;
    return v.toString();
}

std::optional<QString> dateTimeText(const QVariant& v) {
    const QDateTime dt = toDateTime(v);
    if (!dt.isValid()) return std::nullopt;
    return Session::dateTimeText(dt);
}

// As read back: SQLite's text exactly as stored (so that text added after the seconds is an
// edit), PostgreSQL's timestamp in the text it was written as.
std::optional<QString> storedDateTimeText(const QVariant& v) {
    if (v.isNull() || !v.isValid()) return std::nullopt;
    if (v.typeId() == QMetaType::QString) return v.toString();
    const QDateTime dt = v.toDateTime();
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(),
                             t.hour(), t.minute(), t.second());
}

// Each field is told apart from its neighbours by its length and from a null by a mark, so no
// two different rows encode alike, whatever their texts hold.
class Encoding {
public:
    Encoding() { bytes_.reserve(512); }
    void add(const std::optional<QString>& value) {
        if (!value) {
            bytes_.append('\0');
            return;
        }
        addBytes(value->toUtf8());
    }
    void add(const std::optional<qint64>& value) {
        if (!value) {
            bytes_.append('\0');
            return;
        }
        addBytes(QByteArray::number(*value));
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    void addBytes(const QByteArray& utf8) {
        char length[4];
        qToBigEndian(static_cast<quint32>(utf8.size()), length);
        bytes_.append('\1').append(length, 4).append(utf8);
    }

    QByteArray bytes_ = QByteArrayLiteral("tblZelorFormEvent/1");
};

QVariant orNull(const std::optional<qint64>& v) {
    return v ? QVariant(*v) : QVariant();
}
QVariant orNull(const std::optional<QString>& v) {
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::QString));
}

}  // namespace

// By position: a check reads every event, and a look-up by name costs more than the rest.
FormEvent FormEventFromRow(const Row& row) {
    FormEvent e;
    e.id = row.at(0).toLongLong();
    e.eventTypeId = number(row.at(1));
    e.formCode = number(row.at(2));
    e.formTypeId = number(row.at(3));
    e.description = text(row.at(4));
    e.userId = number(row.at(5));
    e.eventDate = storedDateTimeText(row.at(6));
    e.farsiEventDate = text(row.at(7));
    e.eventTime = number(row.at(8));
    e.reasonSequence = number(row.at(9));
    e.chainSeq = number(row.at(10));
    e.chainCode = row.at(11).toString();
    return e;
}

FormEvent FormEventFromArguments(const QVariantList& args) {
    const auto arg = [&args](int i) { return i < args.size() ? args[i] : QVariant(); };
    FormEvent e;
    e.eventTypeId = number(arg(0));
    e.formCode = number(arg(1));
    e.formTypeId = number(arg(2));
    e.description = text(arg(3));
    e.userId = number(arg(4));
    e.eventDate = dateTimeText(arg(5));
    e.farsiEventDate = text(arg(6));
    e.eventTime = number(arg(7));
    e.reasonSequence = number(arg(8));
    return e;
}

QString EventChainCode(QMessageAuthenticationCode& mac, const FormEvent& event, qint64 seq,
                       const QString& previousCode) {
    Encoding content;
    content.add(event.eventTypeId);
    content.add(event.formCode);
    content.add(event.formTypeId);
    content.add(event.description);
    content.add(event.userId);
    content.add(event.eventDate);
    content.add(event.farsiEventDate);
    content.add(event.eventTime);
    content.add(event.reasonSequence);
    content.add(std::optional<qint64>(seq));
    content.add(std::optional<QString>(previousCode));
    mac.reset();
    mac.addData(content.bytes());
    return QString::fromLatin1(mac.result().toHex());
}

QString EventChainCode(const QByteArray& key, const FormEvent& event, qint64 seq,
                       const QString& previousCode) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, key);
    return EventChainCode(mac, event, seq, previousCode);
}

qint64 AppendFormEvent(Session& s, FormEvent event) {
    const QByteArray key = RequireAuditKey();
    Transaction t = s.joinWriterTransaction();
    const std::optional<Row> last =
        s.first(QStringLiteral("select ChainSeq, ChainCode from tblZelorFormEvent where ChainSeq = "
                               "(select max(ChainSeq) from tblZelorFormEvent)"));
    const qint64 seq = last ? last->toInt64(u"ChainSeq") + 1 : 1;
    event.chainSeq = seq;
    event.chainCode = EventChainCode(key, event, seq, last ? last->text(u"ChainCode") : QString());
    s.exec(QStringLiteral(
               "insert into tblZelorFormEvent (EventTypeID, FormCode, FormTypeID, Description, "
               "UserID, EventDate, FarsiEventDate, EventTime, ReasonSequence, ChainSeq, ChainCode) "
               "values (?,?,?,?,?,?,?,?,?,?,?)"),
           {orNull(event.eventTypeId), orNull(event.formCode), orNull(event.formTypeId),
            orNull(event.description), orNull(event.userId), orNull(event.eventDate),
            orNull(event.farsiEventDate), orNull(event.eventTime), orNull(event.reasonSequence),
            seq, event.chainCode});
    t.commit();
    return seq;
}

}  // namespace si

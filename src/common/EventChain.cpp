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

// Each field is told apart from its neighbours by its length and from a null by a mark, so no
// two different rows encode alike, whatever their texts hold.
class Encoding {
public:
    void add(const std::optional<QString>& value) {
        if (!value) {
            bytes_.append('\0');
            return;
        }
        const QByteArray utf8 = value->toUtf8();
        char length[4];
        qToBigEndian(static_cast<quint32>(utf8.size()), length);
        bytes_.append('\1').append(length, 4).append(utf8);
    }
    void add(const std::optional<qint64>& value) {
        add(value ? std::optional<QString>(QString::number(*value)) : std::nullopt);
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_ = QByteArrayLiteral("tblZelorFormEvent/1");
};

QVariant orNull(const std::optional<qint64>& v) {
    return v ? QVariant(*v) : QVariant();
}
QVariant orNull(const std::optional<QString>& v) {
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::QString));
}

}  // namespace

FormEvent FormEventFromRow(const Row& row) {
    FormEvent e;
    e.id = row.toInt64(u"ID");
    e.eventTypeId = number(row.value(u"EventTypeID"));
    e.formCode = number(row.value(u"FormCode"));
    e.formTypeId = number(row.value(u"FormTypeID"));
    e.description = text(row.value(u"Description"));
    e.userId = number(row.value(u"UserID"));
    e.eventDate = dateTimeText(row.value(u"EventDate"));
    e.farsiEventDate = text(row.value(u"FarsiEventDate"));
    e.eventTime = number(row.value(u"EventTime"));
    e.reasonSequence = number(row.value(u"ReasonSequence"));
    e.chainSeq = number(row.value(u"ChainSeq"));
    e.chainCode = row.text(u"ChainCode");
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

QString EventChainCode(const QByteArray& key, const FormEvent& event, qint64 seq,
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
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(content.bytes(), key, QCryptographicHash::Sha256).toHex());
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

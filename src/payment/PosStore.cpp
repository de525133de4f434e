#include "payment/PosStore.h"

namespace si {

namespace {

QVariant idOrNull(int id) {
    return id > 0 ? QVariant(id) : QVariant();
}

QVariant portOrNull(const QString& text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok ? QVariant(port) : QVariant();
}

Params entryValues(const PosEntry& e) {
    return {e.name.trimmed(),
            e.comPort,
            e.baudRate,
            idOrNull(e.accountId),
            idOrNull(e.objectIds[0]),
            idOrNull(e.objectIds[1]),
            idOrNull(e.objectIds[2]),
            idOrNull(e.userId),
            idOrNull(e.typeId),
            e.ip.trimmed(),
            portOrNull(e.ipPort)};
}

PosDevice deviceOf(const Row& r) {
    PosDevice d;
    d.id = r.toInt(u"ID");
    d.name = r.text(u"Name");
    d.typeId = r.toInt(u"TypeID");
    d.comPort = r.text(u"COMPort");
    d.baudRate = r.toInt(u"BaudRate");
    d.accountId = r.toInt(u"AccountID");
    d.objectIds = {r.toInt(u"ObjectID1"), r.toInt(u"ObjectID2"), r.toInt(u"ObjectID3")};
    d.ip = r.text(u"IP");
    d.ipPort = r.toInt(u"IPPORT");
    d.userId = r.toInt(u"UserID");
    return d;
}

}  // namespace

QVector<PosListRow> ReadPosList(Session& db, int userId) {
    const RowSet rows =
        db.query(QStringLiteral(
                     "select p.ID, (select x.Name from tblRecPayPosType x where x.ID = p.TypeID) "
                     "as TypeName, p.Name, p.COMPort, p.BaudRate, (select x.Title from tblAccount "
                     "x where x.ID = p.AccountID) as AccountTitle from tblRecPayPos p "
                     "where p.UserID = ? or -1 = ? order by p.ID desc"),
                 {userId, userId});
    QVector<PosListRow> list;
    list.reserve(rows.size());
    for (const Row& r : rows)
        list.push_back({r.toInt(u"ID"), r.text(u"TypeName"), r.text(u"Name"), r.text(u"COMPort"),
                        r.toInt(u"BaudRate"), r.text(u"AccountTitle")});
    return list;
}

std::optional<PosDevice> ReadPosDevice(Session& db, int id) {
    const auto row = db.first(
        QStringLiteral("select ID, Name, COMPort, BaudRate, AccountID, ObjectID1, ObjectID2, "
                       "ObjectID3, UserID, TypeID, IP, IPPORT from tblRecPayPos where ID = ?"),
        {id});
    if (!row) return std::nullopt;
    PosDevice device = deviceOf(*row);
    // An object's class is the class its slot has on the account.
    for (const AccountObjectClass& c : ReadAccountObjectClasses(db, device.accountId))
        if (c.sequence >= 1 && c.sequence <= 3)
            device.classIds[static_cast<size_t>(c.sequence - 1)] = c.classId;
    return device;
}

QVector<AccountObjectClass> ReadAccountObjectClasses(Session& db, int accountId) {
    const RowSet rows =
        db.query(QStringLiteral(
                     "select r.Sequence, c.ID, c.Name, c.ViewMajor, c.ViewMinor from "
                     "tblAccountRelatedClasses r inner join tblAccountClass c on c.ID = r.ClassID "
                     "where r.AccountID = ? order by r.Sequence"),
                 {accountId});
    QVector<AccountObjectClass> classes;
    for (const Row& r : rows)
        classes.push_back({r.toInt(u"Sequence"), r.toInt(u"ID"), r.text(u"Name"),
                           r.text(u"ViewMajor"), r.text(u"ViewMinor")});
    return classes;
}

QString PosTypeName(Session& db, int typeId) {
    return db.scalar(QStringLiteral("select Name from tblRecPayPosType where ID = ?"), {typeId})
        .toString();
}

int InsertPos(Session& db, const PosEntry& entry) {
    return static_cast<int>(db.insertReturningId(
        QStringLiteral(
            "insert into tblRecPayPos (Name, COMPort, BaudRate, AccountID, ObjectID1, "
            "ObjectID2, ObjectID3, UserID, TypeID, IP, IPPORT) values (?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?) RETURNING ID"),
        entryValues(entry)));
}

void UpdatePos(Session& db, const PosEntry& entry) {
    Params values = entryValues(entry);
    values << entry.id;
    db.exec(
        QStringLiteral("update tblRecPayPos set Name = ?, COMPort = ?, BaudRate = ?, "
                       "AccountID = ?, ObjectID1 = ?, ObjectID2 = ?, ObjectID3 = ?, UserID = ?, "
                       "TypeID = ?, IP = ?, IPPORT = ? where ID = ?"),
        values);
}

void DeletePos(Session& db, int id) {
    db.exec(QStringLiteral("delete from tblRecPayPos where ID = ?"), {id});
}

}  // namespace si

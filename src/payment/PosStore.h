#pragma once
// The card terminals of tblRecPayPos: the list of a user's terminals, one terminal with the
// classes of its objects, and its writes. Every statement binds its values.

#include <QString>
#include <QVector>
#include <array>
#include <optional>

#include "common/Session.h"
#include "payment/PosDevice.h"

namespace si {

// One row of the terminal grid.
struct PosListRow {
    int id = 0;
    QString typeName;
    QString name;
    QString comPort;
    int baudRate = 0;
    QString accountTitle;
};

// What a terminal row holds; -1 (or empty text) where nothing is set.
struct PosEntry {
    int id = 0;  // 0 for a terminal not written yet
    QString name;
    QString comPort;
    int baudRate = 0;
    int accountId = -1;
    std::array<int, 3> objectIds{-1, -1, -1};
    int userId = -1;
    int typeId = -1;
    QString ip;
    QString ipPort;  // text as typed; empty is stored as null
};

// An object class an account takes on its rows, by slot (Sequence 1 to 3).
struct AccountObjectClass {
    int sequence = 0;
    int classId = 0;
    QString name;
    QString viewMajor;
    QString viewMinor;
};

// The terminals of a user, newest first; user -1 lists every user's.
QVector<PosListRow> ReadPosList(Session& db, int userId);
// The terminal with this id, its objects' classes taken from its account; nullopt when none.
std::optional<PosDevice> ReadPosDevice(Session& db, int id);
QVector<AccountObjectClass> ReadAccountObjectClasses(Session& db, int accountId);
QString PosTypeName(Session& db, int typeId);

// Writes a new terminal and returns its id, or updates the terminal entry.id.
int InsertPos(Session& db, const PosEntry& entry);
void UpdatePos(Session& db, const PosEntry& entry);
void DeletePos(Session& db, int id);

}  // namespace si

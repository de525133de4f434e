#pragma once
// What the accounting module's viewers read of the ledger, without their windows: one document
// with its rows and their objects, and the turnover of an account or of accounting objects. Only
// posted documents count in a turnover (a pre-document is a draft).

#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>
#include <optional>

#include "common/Money.h"

namespace si {
class Session;
}

namespace si::suite {

struct DocumentObject {
    int classId = -1;
    QString className;
    int objectId = -1;
    QString objectName;
};

struct DocumentViewRow {
    int rowNumber = 0;
    QString accountCode;
    QString accountTitle;
    Money debit;
    Money credit;
    QString description;
    QVector<DocumentObject> objects;  // in their sequence
    // "class: object" of each object, joined.
    QString objectsText() const;
};

struct AccountDocumentView {
    int id = -1;
    QString code;
    QString dayNo;
    QString farsiDate;
    QString description;
    bool finalized = false;
    bool preDocument = false;
    QVector<DocumentViewRow> rows;  // by row number
    Money totalDebit;
    Money totalCredit;
    bool balanced() const { return totalDebit == totalCredit; }
};

// The document, or nullopt when there is none with that ID.
std::optional<AccountDocumentView> ReadAccountDocument(Session& db, int documentId);

// The names of accounting objects, by (class, object): each class's Major view is asked once for
// all its objects. An object its view does not list has no name.
QHash<QPair<int, int>, QString> ObjectNames(Session& db, const QVector<QPair<int, int>>& objects);

struct TurnoverRow {
    int documentId = -1;
    QString documentCode;
    QString farsiDate;
    QString description;
    Money debit;
    Money credit;
    Money balance;  // running: the brought-forward balance and every row up to this one
};

struct Turnover {
    QString title;          // the account's code and title, or the objects'
    QString fromFarsiDate;  // the active period's start; empty when there is none
    Money broughtForward;   // debit less credit before that start
    QVector<TurnoverRow> rows;
    Money totalDebit;
    Money totalCredit;
    Money closingBalance() const { return broughtForward + totalDebit - totalCredit; }
};

// The account's posted rows in date order, the active period's earlier rows brought forward.
Turnover AccountTurnover(Session& db, int accountId);

// The same for the rows that carry the objects: class and object pairs, a pair whose object is
// not above 0 left out; every pair given must be on the row. No pair: no row.
struct ObjectPair {
    int classId = -1;
    int objectId = -1;
};
Turnover ObjectTurnover(Session& db, const QVector<ObjectPair>& objects);

// A turnover read as a view shows it: the title, the balance brought forward and the totals at
// once (by aggregates), the rows a page at a time with their running balance, so a ledger of
// years opens at its first screen. The session must outlive the reader.
inline constexpr int kTurnoverPageRows = 200;  // a screen and more of the view

class TurnoverReader {
public:
    static TurnoverReader ofAccount(Session& db, int accountId);
    static TurnoverReader ofObjects(Session& db, const QVector<ObjectPair>& objects);

    // Everything but the rows.
    const Turnover& summary() const { return summary_; }
    int rowCount() const { return rowCount_; }
    bool atEnd() const { return read_ >= rowCount_; }
    // The next rows, at most `count`.
    QVector<TurnoverRow> next(int count);
    // The whole turnover from here on, rows included.
    Turnover readAll();

private:
    TurnoverReader(Session* db, QString condition, QVector<QVariant> params, QString title);

    Session* db_ = nullptr;
    QString condition_;  // on the detail row r and the document d, the period's dates included
    QVector<QVariant> params_;
    Turnover summary_;
    int rowCount_ = 0;
    int read_ = 0;
    Money balance_;
};

}  // namespace si::suite

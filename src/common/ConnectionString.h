#pragma once
// ADO-style connection strings, as the host hands them over:
//   Provider=SQLite;Data Source=FILE[;Read Only=True]
//   Provider=PostgreSQL;Server=H;Port=P;Database=D;User ID=U;Password=W
// Keys are case-insensitive; values may not contain ';'. A connection string is shown or logged
// only as redacted() gives it, so that a password never reaches a screen, a log or a message.

#include <QMap>
#include <QString>

namespace si {

enum class Dialect { SQLite, PostgreSQL };

struct ConnectionString {
    Dialect dialect = Dialect::SQLite;
    QString dataSource;     // SQLite file
    bool readOnly = false;  // SQLite: opened for reading only
    QString server;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    // Throws std::invalid_argument with a Persian message when the text names no known provider
    // or its port is not a number from 1 to 65535.
    static ConnectionString parse(const QString& text);
    QString toString() const;

    // The text with the value of its Password (or Pwd) replaced by kPasswordMask, the key kept as
    // written; an empty password stays empty.
    static QString redacted(const QString& text);
    // The text as typed over a redacted one: a password still shown as the mask is the original's.
    static QString unredacted(const QString& shown, const QString& original);

    static inline const QString kPasswordMask = QStringLiteral("****");
};

}  // namespace si

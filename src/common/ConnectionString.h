#pragma once
// ADO-style connection strings, as the host hands them over:
//   Provider=SQLite;Data Source=FILE
//   Provider=PostgreSQL;Server=H;Port=P;Database=D;User ID=U;Password=W
// Keys are case-insensitive; values may not contain ';'.

#include <QMap>
#include <QString>

namespace si {

enum class Dialect { SQLite, PostgreSQL };

struct ConnectionString {
    Dialect dialect = Dialect::SQLite;
    QString dataSource;  // SQLite file
    QString server;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    // Throws std::invalid_argument with a Persian message when the text names no known provider.
    static ConnectionString parse(const QString& text);
    QString toString() const;
};

}  // namespace si

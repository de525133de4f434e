#include "common/ConnectionString.h"

#include <stdexcept>

namespace si {

namespace {

QMap<QString, QString> splitPairs(const QString& text) {
    QMap<QString, QString> pairs;
    for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        pairs.insert(part.left(eq).trimmed().toLower(), part.mid(eq + 1).trimmed());
    }
    return pairs;
}

QString firstOf(const QMap<QString, QString>& pairs, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        auto it = pairs.find(QString::fromLatin1(key));
        if (it != pairs.end()) return it.value();
    }
    return {};
}

}  // namespace

ConnectionString ConnectionString::parse(const QString& text) {
    const auto pairs = splitPairs(text);
    const QString provider = firstOf(pairs, {"provider"}).toLower();
    ConnectionString cs;
    if (provider == QLatin1String("sqlite")) {
        cs.dialect = Dialect::SQLite;
        cs.dataSource = firstOf(pairs, {"data source", "datasource", "database"});
        if (cs.dataSource.isEmpty())
            throw std::invalid_argument("رشته اتصال پایگاه داده، فایل (Data Source) را ندارد.");
        return cs;
    }
    if (provider == QLatin1String("postgresql") || provider == QLatin1String("postgres")) {
        cs.dialect = Dialect::PostgreSQL;
        cs.server = firstOf(pairs, {"server", "host", "data source"});
        const QString port = firstOf(pairs, {"port"});
        if (!port.isEmpty()) cs.port = port.toInt();
        cs.database = firstOf(pairs, {"database", "initial catalog"});
        cs.user = firstOf(pairs, {"user id", "uid", "user"});
        cs.password = firstOf(pairs, {"password", "pwd"});
        if (cs.server.isEmpty()) cs.server = QStringLiteral("localhost");
        return cs;
    }
    throw std::invalid_argument(
        "رشته اتصال پایگاه داده نامعتبر است: Provider باید SQLite یا PostgreSQL باشد.");
}

QString ConnectionString::toString() const {
    if (dialect == Dialect::SQLite)
        return QStringLiteral("Provider=SQLite;Data Source=") + dataSource;
    return QStringLiteral(
               "Provider=PostgreSQL;Server=%1;Port=%2;Database=%3;User ID=%4;Password=%5")
        .arg(server)
        .arg(port)
        .arg(database, user, password);
}

}  // namespace si

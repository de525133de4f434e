#include "common/ConnectionString.h"

#include <QRegularExpression>
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

// A port is a whole number in the range TCP allows; "abc" must not become the driver's default.
int portNumber(const QString& text) {
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        throw std::invalid_argument(("شماره درگاه (Port) در رشته اتصال پایگاه داده نامعتبر است: «" +
                                     text + "»؛ عددی از 1 تا 65535 لازم است.")
                                        .toStdString());
    return port;
}

bool isTrue(const QString& value) {
    const QString v = value.toLower();
    return v == QLatin1String("true") || v == QLatin1String("yes") || v == QLatin1String("1");
}

// The value of a Password or Pwd key: group 2. Group 1 is the key with its '='.
const QRegularExpression& passwordValue() {
    static const QRegularExpression re(QStringLiteral("((?:^|;)\\s*(?:password|pwd)\\s*=)([^;]*)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
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
        cs.readOnly = isTrue(firstOf(pairs, {"read only", "readonly"}));
        return cs;
    }
    if (provider == QLatin1String("postgresql") || provider == QLatin1String("postgres")) {
        cs.dialect = Dialect::PostgreSQL;
        cs.server = firstOf(pairs, {"server", "host", "data source"});
        const QString port = firstOf(pairs, {"port"});
        if (!port.isEmpty()) cs.port = portNumber(port);
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
        return QStringLiteral("Provider=SQLite;Data Source=") + dataSource +
               (readOnly ? QStringLiteral(";Read Only=True") : QString());
    return QStringLiteral(
               "Provider=PostgreSQL;Server=%1;Port=%2;Database=%3;User ID=%4;Password=%5")
        .arg(server)
        .arg(port)
        .arg(database, user, password);
}

QString ConnectionString::redacted(const QString& text) {
    QString out;
    qsizetype from = 0;
    for (auto it = passwordValue().globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        out += QStringView(text).mid(from, match.capturedEnd(1) - from);
        if (!match.captured(2).trimmed().isEmpty()) out += kPasswordMask;
        from = match.capturedEnd(2);
    }
    out += QStringView(text).mid(from);
    return out;
}

QString ConnectionString::unredacted(const QString& shown, const QString& original) {
    const auto kept = passwordValue().match(original);
    if (!kept.hasMatch()) return shown;
    QString out;
    qsizetype from = 0;
    for (auto it = passwordValue().globalMatch(shown); it.hasNext();) {
        const auto match = it.next();
        out += QStringView(shown).mid(from, match.capturedEnd(1) - from);
        out += match.captured(2).trimmed() == kPasswordMask ? kept.captured(2) : match.captured(2);
        from = match.capturedEnd(2);
    }
    out += QStringView(shown).mid(from);
    return out;
}

}  // namespace si

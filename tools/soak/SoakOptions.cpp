#include "SoakOptions.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <stdexcept>

#include "common/ConnectionString.h"

namespace si::soak {

namespace {

int positive(const QString& option, const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1)
        throw std::invalid_argument(
            (option + QStringLiteral(" needs a positive number")).toStdString());
    return n;
}

// The soak only ever talks to this machine.
void requireLocalServer(const QString& connection) {
    const ConnectionString cs = ConnectionString::parse(connection);
    if (cs.dialect != Dialect::PostgreSQL || cs.server != QLatin1String("127.0.0.1"))
        throw std::invalid_argument("--pg must name a PostgreSQL server on 127.0.0.1");
}

}  // namespace

QString Usage() {
    return QStringLiteral(
        "saleinvoice-soak [--minutes N | --seconds N] [--clients N] [--sqlite FILE]\n"
        "                 [--pg CONNECTION --pg-ctl PATH --pg-data DIR] [--kill-rate R]\n"
        "                 [--max-operations N] [--seed N] [--saleinvoice PATH]\n");
}

SoakOptions ParseOptions(const QStringList& args) {
    SoakOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            throw std::invalid_argument(
                (QStringLiteral("unknown or incomplete option ") + a).toStdString());
        const QString value = args[++i];
        if (a == QLatin1String("--minutes")) {
            o.seconds = positive(a, value) * 60;
        } else if (a == QLatin1String("--seconds")) {
            o.seconds = positive(a, value);
        } else if (a == QLatin1String("--clients")) {
            o.clients = positive(a, value);
        } else if (a == QLatin1String("--sqlite")) {
            o.sqliteFile = value;
        } else if (a == QLatin1String("--pg")) {
            requireLocalServer(value);
            o.pgServer = value;
        } else if (a == QLatin1String("--pg-ctl")) {
            o.pgCtl = value;
        } else if (a == QLatin1String("--pg-data")) {
            o.pgData = value;
        } else if (a == QLatin1String("--kill-rate")) {
            bool ok = false;
            o.killRate = value.toDouble(&ok);
            if (!ok || o.killRate < 0 || o.killRate > 1)
                throw std::invalid_argument("--kill-rate needs a share between 0 and 1");
        } else if (a == QLatin1String("--max-operations")) {
            o.maxOperations = positive(a, value);
        } else if (a == QLatin1String("--seed")) {
            o.seed = static_cast<quint32>(positive(a, value));
        } else if (a == QLatin1String("--saleinvoice")) {
            o.saleinvoice = value;
        } else {
            throw std::invalid_argument((QStringLiteral("unknown option ") + a).toStdString());
        }
    }
    if (o.sqliteFile.isEmpty() && o.pgServer.isEmpty())
        throw std::invalid_argument("name a database: --sqlite FILE and/or --pg CONNECTION");
    if (o.saleinvoice.isEmpty())
        o.saleinvoice =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("saleinvoice"));
    // Far more than a workstation finishes in the time: the count only bounds a load whose clock
    // would not.
    if (o.maxOperations == 0) o.maxOperations = 100 * o.seconds * o.clients;
    if (o.seed == 0)
        o.seed = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch() % 1000000007);
    return o;
}

}  // namespace si::soak

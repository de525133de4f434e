#include "SoakReport.h"

#include <algorithm>
#include <functional>

#include "common/ConnectionString.h"

namespace si::soak {

namespace {

constexpr int kShownViolations = 10;
constexpr int kShownReasons = 2;

// Where the database is, without the password.
QString whereIs(const SoakDatabase& db) {
    const ConnectionString cs = ConnectionString::parse(db.connection);
    if (cs.dialect == Dialect::SQLite) return cs.dataSource;
    return QStringLiteral("database %1 on %2:%3").arg(cs.database, cs.server).arg(cs.port);
}

QString cell(qint64 n) {
    return QStringLiteral("%1").arg(n, 8);
}

void printRow(QTextStream& out, const QString& name, const OpCounts& c) {
    out << QStringLiteral("  %1").arg(name, -20) << cell(c.runs) << cell(c.done) << cell(c.failed)
        << cell(c.refused) << cell(c.killed) << cell(c.hung) << cell(c.crashed) << cell(c.otherExit)
        << "\n";
}

OpCounts& operator+=(OpCounts& a, const OpCounts& b) {
    a.runs += b.runs;
    a.done += b.done;
    a.failed += b.failed;
    a.refused += b.refused;
    a.otherExit += b.otherExit;
    a.killed += b.killed;
    a.hung += b.hung;
    a.crashed += b.crashed;
    return a;
}

// The commonest reasons each kind failed or was refused.
void printReasons(QTextStream& out, const LoadStats& s) {
    for (int k = 0; k < kOpKinds; ++k) {
        QVector<QPair<qint64, QString>> reasons;
        const auto& byReason = s.reasons[static_cast<size_t>(k)];
        for (auto it = byReason.cbegin(); it != byReason.cend(); ++it)
            reasons.append({it.value(), it.key()});
        std::sort(reasons.begin(), reasons.end(), std::greater<>());
        for (qsizetype i = 0; i < reasons.size() && i < kShownReasons; ++i)
            out << "    " << OpName(static_cast<OpKind>(k)) << ", " << reasons[i].first << "x "
                << reasons[i].second << "\n";
    }
}

}  // namespace

void PrintLoad(QTextStream& out, const LoadReport& r) {
    const LoadStats& s = r.stats;
    out << "\n== " << r.db.name << ": " << whereIs(r.db) << "\n";
    out << "load: " << s.elapsedMs / 1000 << " s, " << r.options.clients << " workstations, "
        << s.operations << " operations, kill share " << r.options.killRate << "\n";
    out << QStringLiteral("  %1").arg(QStringLiteral("processes by kind"), -20)
        << "    runs  exit 0  exit 1  exit 2  killed    hung crashed   other\n";
    OpCounts total;
    for (int k = 0; k < kOpKinds; ++k) {
        printRow(out, OpName(static_cast<OpKind>(k)), s.byKind[static_cast<size_t>(k)]);
        total += s.byKind[static_cast<size_t>(k)];
    }
    printRow(out, QStringLiteral("total"), total);
    printReasons(out, s);
    out << "processes killed: " << total.killed << "   server restarts: " << r.serverRestarts;
    if (!r.restartFailure.isEmpty()) out << " (" << r.restartFailure << ")";
    out << "   races on one invoice: " << s.races
        << "   saves that gave a posting message: " << s.postingMessages << "\n";
    out << "scarce goods delivered while the load ran: " << r.deliveries.receipts << " receipts, "
        << r.deliveries.pieces << " pieces (" << r.deliveries.failed << " tries failed)\n";
}

void PrintScarceGoods(QTextStream& out, const Catalogue& c, const StockLevels& before,
                      const StockLevels& after) {
    out << "goods with little stock (inventory " << c.inventory << "), before -> after:";
    for (const QString& b : c.scarceGoods)
        out << "  " << b << " " << before.value({c.inventory, b}) << " -> "
            << after.value({c.inventory, b});
    out << "\n";
}

void PrintInvariants(QTextStream& out, const CheckResult& result) {
    out << QStringLiteral("  %1").arg(QStringLiteral("invariant"), -62) << " checked  violations\n";
    for (const Invariant& i : result.invariants) {
        out << (i.violations.isEmpty() ? "  " : "! ") << QStringLiteral("%1").arg(i.name, -62)
            << QStringLiteral("%1").arg(i.checked, 8)
            << QStringLiteral("%1").arg(i.violations.size(), 12) << "\n";
        for (qsizetype v = 0; v < i.violations.size() && v < kShownViolations; ++v)
            out << "      " << i.violations[v] << "\n";
        if (i.violations.size() > kShownViolations)
            out << "      ... and " << i.violations.size() - kShownViolations << " more\n";
    }
    for (const Figure& f : result.figures)
        out << QStringLiteral("  %1").arg(f.name, -62) << QStringLiteral("%1").arg(f.value, 8)
            << "\n";
    out << "invariant violations: " << result.violationCount() << "\n";
}

}  // namespace si::soak

#include "SoakLoad.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace si::soak {

namespace {

// No save of a small invoice takes this long; a process still running then is stuck.
constexpr int kHungMs = 300 * 1000;
constexpr int kRestockEveryMs = 1500;
constexpr int kReasonLength = 220;

// What the save says when it cannot make the accounting document (and the invoice stays final
// without one), or when the customer has no open account to post to.
const QString kPostingMessages[] = {
    QStringLiteral("اشکال توليد سند حسابداري"), QStringLiteral("اشکال در سند"),
    QStringLiteral("حساب بدهکار مشتري"),        QStringLiteral("سند ادغام شده"),
    QStringLiteral("امكان ثبت سند حسابداري"),
};

bool givesPostingMessage(const QString& errors) {
    for (const QString& m : kPostingMessages)
        if (errors.contains(m)) return true;
    return false;
}

bool isFinalisation(OpKind kind) {
    return kind == OpKind::FinaliseTemporary || kind == OpKind::FinaliseRace;
}

}  // namespace

struct Load::Running {
    QProcess process;
    QElapsedTimer clock;
    bool killedBySoak = false;
    bool hung = false;
    bool failedToStart = false;
    bool ended = false;
};

Load::Load(SoakDatabase& db, const SoakOptions& options, quint32 seed)
    : db_(db),
      options_(options),
      planner_(db.catalogue, seed),
      restocker_(db, seed + 1),
      workstations_(options.clients) {}

Load::~Load() = default;

void Load::start() {
    clock_.start();
    restocker_.start(kRestockEveryMs);
    for (Workstation& w : workstations_)
        startNext(w);
}

bool Load::timeIsUp() const {
    return clock_.elapsed() >= qint64(options_.seconds) * 1000 ||
           (options_.maxOperations > 0 && started_ >= options_.maxOperations);
}

void Load::startNext(Workstation& w) {
    w.processes.clear();
    w.wins = 0;
    w.transient = false;
    if (timeIsUp()) {
        w.idle = true;
        for (const Workstation& other : workstations_)
            if (!other.idle) return;
        finished_ = true;
        restocker_.stop();
        stats_.elapsedMs = clock_.elapsed();
        Q_EMIT done();
        return;
    }
    w.op = planner_.next();
    ++started_;
    // A process that cannot start ends at once; the operation ends only after every launch.
    w.launching = true;
    for (const Invocation& call : w.op.processes)
        launch(w, call);
    w.launching = false;
    if (allEnded(w)) conclude(w);
}

bool Load::allEnded(const Workstation& w) const {
    for (const auto& r : w.processes)
        if (!r->ended) return false;
    return true;
}

void Load::conclude(Workstation& w) {
    operationEnded(w);
    // The processes go once their signals have returned.
    QMetaObject::invokeMethod(
        this, [this, &w] { startNext(w); }, Qt::QueuedConnection);
}

void Load::launch(Workstation& w, const Invocation& call) {
    w.processes.push_back(std::make_unique<Running>());
    Running* r = w.processes.back().get();
    QProcess* p = &r->process;
    connect(p, &QProcess::finished, this, [this, &w, r] { ended(w, r); });
    connect(p, &QProcess::errorOccurred, this, [this, &w, r](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        r->failedToStart = true;
        ended(w, r);
    });
    r->clock.start();
    p->start(options_.saleinvoice, QStringList{QStringLiteral("--db"), db_.connection} + call.args);
    if (!call.input.isEmpty()) p->write(call.input);
    p->closeWriteChannel();
    const auto killWith = [r](bool hung) {
        if (r->process.state() == QProcess::NotRunning) return;
        (hung ? r->hung : r->killedBySoak) = true;
        r->process.kill();
    };
    if (planner_.chance(options_.killRate))
        QTimer::singleShot(planner_.roll(int(2 * typicalRunMs_) + 1), p,
                           [killWith] { killWith(false); });
    QTimer::singleShot(kHungMs, p, [killWith] { killWith(true); });
}

void Load::ended(Workstation& w, Running* r) {
    if (r->ended) return;
    r->ended = true;
    count(w, *r);
    learn(w, *r);
    if (!w.launching && allEnded(w)) conclude(w);
}

void Load::count(Workstation& w, const Running& r) {
    OpCounts& c = stats_.byKind[static_cast<size_t>(w.op.kind)];
    ++c.runs;
    if (r.killedBySoak) {
        ++c.killed;
        w.transient = true;
    } else if (r.hung) {
        ++c.hung;
        w.transient = true;
    } else if (r.failedToStart || r.process.exitStatus() == QProcess::CrashExit) {
        ++c.crashed;
    } else {
        switch (r.process.exitCode()) {
            case 0:
                ++c.done;
                typicalRunMs_ = (7 * typicalRunMs_ + r.clock.elapsed()) / 8;
                break;
            case 1:
                ++c.failed;
                w.transient = true;
                break;
            case 2:
                ++c.refused;
                break;
            default:
                ++c.otherExit;
        }
    }
}

// The invoice a successful run stored, and whether its save said why no document was made.
void Load::learn(Workstation& w, Running& r) {
    const bool succeeded = !r.killedBySoak && !r.hung && !r.failedToStart &&
                           r.process.exitStatus() == QProcess::NormalExit &&
                           r.process.exitCode() == 0;
    const QJsonObject shown = QJsonDocument::fromJson(r.process.readAllStandardOutput()).object();
    const qint64 id = succeeded ? shown.value(QStringLiteral("id")).toInteger() : 0;
    if (succeeded && isFinalisation(w.op.kind)) ++w.wins;
    if (succeeded && w.op.kind != OpKind::Show && id > 0) {
        planner_.storedInvoice(id);
        if (shown.value(QStringLiteral("code")).isNull()) planner_.storedTemporary({id, w.op.user});
    }
    const QString errors = QString::fromUtf8(r.process.readAllStandardError());
    if (!succeeded && !r.killedBySoak && !r.hung && !r.failedToStart)
        ++stats_.reasons[static_cast<size_t>(w.op.kind)]
                        [QStringLiteral("exit %1: ").arg(r.process.exitCode()) +
                         errors.section(QLatin1Char('\n'), 0, 0).left(kReasonLength)];
    if (!givesPostingMessage(errors)) return;
    ++stats_.postingMessages;
    const qint64 invoice = isFinalisation(w.op.kind) ? w.op.invoice : id;
    if (invoice > 0) db_.scope.postingMessageGiven.insert(invoice);
}

// A finalisation cut short (killed, or a lost connection) leaves the invoice to be finalised
// again later; one refused by the checks is left alone.
void Load::operationEnded(Workstation& w) {
    ++stats_.operations;
    if (!isFinalisation(w.op.kind)) return;
    if (w.op.kind == OpKind::FinaliseRace) {
        ++stats_.races;
        if (w.wins > 1)
            stats_.racesWonTwice << QStringLiteral("invoice %1 finalised by %2 of %3 workstations")
                                        .arg(w.op.invoice)
                                        .arg(w.wins)
                                        .arg(w.processes.size());
    }
    if (w.wins == 0 && w.transient) planner_.storedTemporary({w.op.invoice, w.op.user});
}

}  // namespace si::soak

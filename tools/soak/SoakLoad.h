#pragma once
// The load on one database: a number of workstations, each running one operation after another
// until the time or the count is up. A share of the processes is killed (SIGKILL) at a random
// moment of its run; a process that runs far longer than any save should is killed as hung.
// The goods with little stock are restocked whenever sold out. What each process ended with is
// counted per operation kind; the temporary invoices it stored
// feed later finalisations, and the saves that said why no document was made are remembered for
// the invariant checker.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QProcess>
#include <array>
#include <memory>
#include <vector>

#include "Restocker.h"
#include "SoakOperations.h"
#include "SoakOptions.h"

namespace si::soak {

struct OpCounts {
    qint64 runs = 0;
    qint64 done = 0;     // exit 0
    qint64 failed = 0;   // exit 1: database or usage error
    qint64 refused = 0;  // exit 2: refused by the module's checks
    qint64 otherExit = 0;
    qint64 killed = 0;   // by the soak, at a random moment
    qint64 hung = 0;     // killed after running too long
    qint64 crashed = 0;  // ended by a signal the soak did not send
};

struct LoadStats {
    std::array<OpCounts, kOpKinds> byKind;
    // Per kind: "exit N: the first line of standard error" of the processes that failed or were
    // refused, and how often.
    std::array<QHash<QString, qint64>, kOpKinds> reasons;
    qint64 operations = 0;
    qint64 postingMessages = 0;
    qint64 races = 0;
    QStringList racesWonTwice;  // one line per invoice that more than one racer finalised
    qint64 elapsedMs = 0;
};

class Load : public QObject {
    Q_OBJECT
public:
    Load(SoakDatabase& db, const SoakOptions& options, quint32 seed);
    ~Load() override;
    void start();
    bool finished() const { return finished_; }
    const LoadStats& stats() const { return stats_; }
    const Deliveries& deliveries() const { return restocker_.deliveries(); }

Q_SIGNALS:
    void done();

private:
    struct Running;
    struct Workstation {
        Operation op;
        std::vector<std::unique_ptr<Running>> processes;
        int wins = 0;            // finalisations that exited 0
        bool transient = false;  // a process was killed or lost its connection
        bool idle = false;
        bool launching = false;
    };

    bool timeIsUp() const;
    void startNext(Workstation& w);
    void launch(Workstation& w, const Invocation& call);
    void ended(Workstation& w, Running* r);
    bool allEnded(const Workstation& w) const;
    void conclude(Workstation& w);
    void count(Workstation& w, const Running& r);
    void learn(Workstation& w, Running& r);
    void operationEnded(Workstation& w);

    SoakDatabase& db_;
    const SoakOptions& options_;
    OperationPlanner planner_;
    Restocker restocker_;
    std::vector<Workstation> workstations_;
    LoadStats stats_;
    QElapsedTimer clock_;
    qint64 started_ = 0;
    qint64 typicalRunMs_ = 800;
    bool finished_ = false;
};

}  // namespace si::soak

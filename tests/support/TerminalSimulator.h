#pragma once
// The card terminal simulator (saleinvoice-pcpos-sim) run as a process for a test: on 127.0.0.1
// for the network kinds, on a pseudo-terminal for the serial ones.

#include <QProcess>
#include <QStringList>
#include <ostream>

namespace si::test {

// A bound for waiting on a process or an answer, not an expectation of how long they take.
inline constexpr int kTerminalPatienceMs = 20000;

struct Terminal {
    int typeId;
    bool serial;
};

inline void PrintTo(const Terminal& terminal, std::ostream* os) {
    *os << "type " << terminal.typeId << (terminal.serial ? " on a serial line" : " on TCP");
}

class TerminalSimulator {
public:
    // `answers` are the simulator's --answer actions, in order.
    TerminalSimulator(const QString& program, const Terminal& terminal, const QStringList& answers,
                      const QStringList& extra = {});
    ~TerminalSimulator();
    TerminalSimulator(const TerminalSimulator&) = delete;
    TerminalSimulator& operator=(const TerminalSimulator&) = delete;

    // The TCP port or the pseudo-terminal's path; empty when the simulator did not start.
    const QString& where() const { return where_; }
    // The next line the simulator printed: the request it received.
    QString readLine();

private:
    QProcess process_;
    QString where_;
};

}  // namespace si::test

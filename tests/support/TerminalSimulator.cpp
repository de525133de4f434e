#include "support/TerminalSimulator.h"

#include <QDeadlineTimer>
#include <QTest>

namespace si::test {

TerminalSimulator::TerminalSimulator(const QString& program, const Terminal& terminal,
                                     const QStringList& answers, const QStringList& extra) {
    QStringList args = {QStringLiteral("--type"), QString::number(terminal.typeId)};
    args += terminal.serial ? QStringList{QStringLiteral("--pty")}
                            : QStringList{QStringLiteral("--port"), QStringLiteral("0")};
    for (const QString& answer : answers)
        args += {QStringLiteral("--answer"), answer};
    process_.start(program, args + extra);
    if (process_.waitForStarted(kTerminalPatienceMs)) where_ = readLine();
}

TerminalSimulator::~TerminalSimulator() {
    process_.kill();
    process_.waitForFinished(kTerminalPatienceMs);
}

// Keeps the test's own events running while it waits: the driver talks to the terminal.
QString TerminalSimulator::readLine() {
    QDeadlineTimer patience(kTerminalPatienceMs);
    while (!process_.canReadLine() && !patience.hasExpired() &&
           process_.state() == QProcess::Running)
        QTest::qWait(10);
    return QString::fromUtf8(process_.readLine()).trimmed();
}

}  // namespace si::test

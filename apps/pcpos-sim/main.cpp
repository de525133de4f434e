// saleinvoice-pcpos-sim: a PC-POS card terminal for trying the card payment without one.
//   saleinvoice-pcpos-sim --type N (--port P | --pty) [--script FILE] [--answer A]...
//   [--zero-trace]
// Prints the port it listens on (127.0.0.1) or the pseudo-terminal's path on its first line,
// then every request line it receives.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "apps/pcpos-sim/PosSimulator.h"

namespace {

using si::pcpos::sim::SimAction;

int Usage(const QString& text) {
    std::fprintf(stderr, "saleinvoice-pcpos-sim: %s\n", qUtf8Printable(text));
    return 2;
}

std::optional<QList<SimAction>> Script(const QCommandLineParser& parser, QString* error) {
    QList<SimAction> actions;
    if (parser.isSet(QStringLiteral("script"))) {
        auto fromFile = si::pcpos::sim::ReadScript(parser.value(QStringLiteral("script")), error);
        if (!fromFile) return std::nullopt;
        actions = *fromFile;
    }
    for (const QString& text : parser.values(QStringLiteral("answer"))) {
        const std::optional<SimAction> action = si::pcpos::sim::ParseAction(text);
        if (!action) {
            *error = QStringLiteral("not an answer: ") + text;
            return std::nullopt;
        }
        actions.append(*action);
    }
    return actions;
}

void AddOptions(QCommandLineParser& parser) {
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("type"), QStringLiteral("Kind of terminal, 1 to 5."), QStringLiteral("N")},
        {QStringLiteral("port"), QStringLiteral("TCP port on 127.0.0.1 (0: any free)."),
         QStringLiteral("P")},
        {QStringLiteral("pty"), QStringLiteral("Serve a pseudo-terminal instead.")},
        {QStringLiteral("script"), QStringLiteral("Answers, one a line."), QStringLiteral("FILE")},
        {QStringLiteral("answer"), QStringLiteral("The next answer (repeatable)."),
         QStringLiteral("A")},
        {QStringLiteral("zero-trace"), QStringLiteral("Approvals carry all-zero trace numbers.")},
    });
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    AddOptions(parser);
    parser.process(app);
    const int typeId = parser.value(QStringLiteral("type")).toInt();
    if (typeId < 1 || typeId > 5) return Usage(QStringLiteral("--type must be 1 to 5"));
    const bool pty = parser.isSet(QStringLiteral("pty"));
    if (pty == parser.isSet(QStringLiteral("port")))
        return Usage(QStringLiteral("give either --port or --pty"));
    QString error;
    const auto script = Script(parser, &error);
    if (!script) return Usage(error);
    si::pcpos::sim::PosSimulator simulator(typeId, *script,
                                           parser.isSet(QStringLiteral("zero-trace")));
    QString where;
    if (pty) {
        where = simulator.openPty();
    } else {
        bool ok = false;
        const uint port = parser.value(QStringLiteral("port")).toUInt(&ok);
        if (!ok || port > 65535) return Usage(QStringLiteral("--port must be 0 to 65535"));
        const quint16 listening = simulator.listen(quint16(port));
        if (listening) where = QString::number(listening);
    }
    if (where.isEmpty()) {
        std::fprintf(stderr, "saleinvoice-pcpos-sim: cannot open the terminal's line\n");
        return 1;
    }
    std::printf("%s\n", qUtf8Printable(where));
    std::fflush(stdout);
    return app.exec();
}

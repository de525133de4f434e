#include "Cli.h"

#include <QDir>
#include <stdexcept>

#include "Commands.h"
#include "common/SqlError.h"

namespace si::cli {

namespace {

const char* kGlobalHelp =
    "saleinvoice [options] COMMAND [arguments]\n"
    "\n"
    "Options (before the command):\n"
    "  --db CONNECTION   Provider=SQLite;Data Source=FILE  or\n"
    "                    Provider=PostgreSQL;Server=H;Port=P;Database=D;User ID=U;Password=W\n"
    "                    (default: the demo database of ./x run)\n"
    "  --user ID         user of the rights checks (default 1, the demo administrator)\n"
    "  --position ID     position of the user (credit level, secured accounts)\n"
    "  --employee ID     employee of the user\n"
    "  --yes | --no      the answer to every question a check asks (default --no)\n"
    "  --help            this text; COMMAND --help describes a command\n"
    "\nCommands:\n";

bool takeValue(const QStringList& args, int& i, QString& value) {
    if (i + 1 >= args.size()) return false;
    value = args[++i];
    return true;
}

bool parseInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

// Reads the global options; returns the index of the first command word, or -1 on a usage error.
int parseGlobals(const QStringList& args, GlobalOptions& options, bool& help) {
    int i = 0;
    for (; i < args.size() && args[i].startsWith(QLatin1String("--")); ++i) {
        const QString& a = args[i];
        QString v;
        if (a == QLatin1String("--help"))
            help = true;
        else if (a == QLatin1String("--yes"))
            options.yes = true;
        else if (a == QLatin1String("--no"))
            options.yes = false;
        else if (a == QLatin1String("--db") && takeValue(args, i, v))
            options.db = v;
        else if (a == QLatin1String("--user") && takeValue(args, i, v) && parseInt(v, options.user))
            continue;
        else if (a == QLatin1String("--position") && takeValue(args, i, v) &&
                 parseInt(v, options.position))
            continue;
        else if (a == QLatin1String("--employee") && takeValue(args, i, v) &&
                 parseInt(v, options.employee))
            continue;
        else {
            PrintError(QStringLiteral("گزینه نامعتبر یا بدون مقدار: ") + a);
            return -1;
        }
    }
    return i;
}

QString commandList(const std::vector<Command>& commands) {
    QString text;
    for (const Command& c : commands)
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(c.synopsis, c.help.section(QLatin1Char('\n'), 0, 0));
    return text;
}

const Command* match(const std::vector<Command>& commands, const QStringList& words, int& used) {
    for (const Command& c : commands) {
        if (words.size() < c.words.size()) continue;
        if (words.mid(0, c.words.size()) == c.words) {
            used = static_cast<int>(c.words.size());
            return &c;
        }
    }
    return nullptr;
}

// "saleinvoice invoice --help": the commands of one group.
bool printGroupHelp(const std::vector<Command>& commands, const QStringList& words, bool help,
                    QTextStream& out) {
    if (!help && !words.contains(QStringLiteral("--help"))) return false;
    std::vector<Command> group;
    for (const Command& c : commands)
        if (c.words.first() == words.first()) group.push_back(c);
    if (group.empty()) return false;
    out << "saleinvoice [options] " << words.first() << " COMMAND [arguments]\n\nCommands:\n"
        << commandList(group);
    return true;
}

int runCommand(const Command& command, CommandCall& call) {
    if (call.args.contains(QStringLiteral("--help"))) {
        call.out << "saleinvoice [options] " << command.synopsis << "\n\n" << command.help << "\n";
        return kExitOk;
    }
    try {
        return command.run(call);
    } catch (const SqlError& e) {
        // A lost connection is no statement's fault: its one sentence says all there is.
        PrintError(QStringLiteral("خطای پایگاه داده: ") + e.driverText() +
                   (e.connectionLost() ? QString() : QStringLiteral("\n  ") + e.statement()));
    } catch (const std::exception& e) {
        PrintError(QString::fromUtf8(e.what()));
    }
    return kExitError;
}

}  // namespace

QString DefaultDatabase() {
    QString file = qEnvironmentVariable("SALEINVOICE_DEMO_DB");
    if (file.isEmpty()) file = QStringLiteral(SI_SOURCE_DIR "/var/demo.sqlite");
    return QStringLiteral("Provider=SQLite;Data Source=") + file;
}

int Run(const QStringList& args, QTextStream& out) {
    GlobalOptions options;
    options.db = DefaultDatabase();
    bool help = false;
    const int first = parseGlobals(args, options, help);
    if (first < 0) return kExitError;
    const auto commands = AllCommands();
    const QStringList words = args.mid(first);
    if (words.isEmpty()) {
        out << kGlobalHelp << commandList(commands);
        return help ? kExitOk : kExitError;
    }
    int used = 0;
    const Command* command = match(commands, words, used);
    if (!command && printGroupHelp(commands, words, help, out)) return kExitOk;
    if (!command) {
        PrintError(QStringLiteral("فرمان ناشناخته: ") + words.join(QLatin1Char(' ')));
        out << kGlobalHelp << commandList(commands);
        return kExitError;
    }
    CommandCall call{words.mid(used), out, options};
    if (help) call.args << QStringLiteral("--help");
    return runCommand(*command, call);
}

}  // namespace si::cli

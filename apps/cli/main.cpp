#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "Cli.h"

namespace {

// Printing renders with fonts, which need a GUI application; nothing is ever shown, so it runs
// on the offscreen platform. The other commands start without one.
bool RendersReports(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == "--print-each") return true;
        const QByteArray next = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        if ((word == "invoice" || word == "turn") && next == "print") return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    if (!RendersReports(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    const auto app = MakeApplication(argc, argv);
    QTextStream out(stdout);
    const int code = si::cli::Run(QCoreApplication::arguments().mid(1), out);
    out.flush();
    return code;
}

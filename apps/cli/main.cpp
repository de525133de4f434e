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
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray verb(argv[i]);
        if ((verb == "invoice" || verb == "turn") && QByteArray(argv[i + 1]) == "print")
            return true;
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

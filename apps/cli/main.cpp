#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "Cli.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int code = si::cli::Run(app.arguments().mid(1), out);
    out.flush();
    return code;
}

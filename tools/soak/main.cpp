#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>

#include "Soak.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    si::soak::SoakOptions options;
    try {
        options = si::soak::ParseOptions(app.arguments().mid(1));
    } catch (const std::invalid_argument& e) {
        QTextStream err(stderr);
        err << e.what() << "\n" << si::soak::Usage();
        return 2;
    }
    return si::soak::RunSoak(options, out);
}

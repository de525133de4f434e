#pragma once
// The display's command line.

#include <QString>
#include <QStringList>

namespace si::display {

struct DisplayOptions {
    QString connection;
    QString listen;        // HOST:PORT; empty: parameter 2827 of the database
    QString screenshot;    // a picture after the first amount, then exit
    int waitSeconds = 10;  // with --screenshot: how long to wait for an amount
    bool print = false;    // each amount shown is written to standard output
    bool fullScreen = false;
    bool help = false;
    QString error;
};

DisplayOptions ParseDisplayOptions(const QStringList& arguments);
QString DisplayHelpText();

}  // namespace si::display

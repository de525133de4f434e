#pragma once
// The soak's command line:
//   saleinvoice-soak [--minutes N | --seconds N] [--clients N] [--sqlite FILE]
//                    [--pg CONNECTION --pg-ctl PATH --pg-data DIR] [--kill-rate R]
//                    [--max-operations N] [--seed N] [--saleinvoice PATH]
// --pg names the postgres database of a private cluster on 127.0.0.1; the soak makes its own
// database there, and restarts the cluster once with --pg-ctl and --pg-data.

#include <QString>
#include <QStringList>

namespace si::soak {

struct SoakOptions {
    int seconds = 600;
    int clients = 8;
    QString sqliteFile;
    QString pgServer;
    QString pgCtl;
    QString pgData;
    double killRate = 0.1;  // share of processes killed at a random moment
    int maxOperations = 0;  // per database; by default 100 a second per workstation
    quint32 seed = 0;       // 0: from the clock
    QString saleinvoice;    // the command line program; default: beside this program

    bool restartsServer() const { return !pgCtl.isEmpty() && !pgData.isEmpty(); }
};

// Throws std::invalid_argument naming the option that is wrong.
SoakOptions ParseOptions(const QStringList& args);
QString Usage();

}  // namespace si::soak

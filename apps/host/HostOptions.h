#pragma once
// The host's command line:
//   saleinvoice-host [--db CONN] [--user ID] [--sms-gateway URL] [--screenshot FILE]
//                    [--search-screenshot FILE]
// --user logs in without the login dialog (automation); --sms-gateway stores the gateway the
// outbox is sent through in the settings (an empty URL removes it); --screenshot also opens a
// new invoice, saves a picture of the invoice form and quits; --search-screenshot searches every
// invoice, marks two, saves a picture of the search form and quits.

#include <QString>
#include <QStringList>
#include <optional>

namespace si::host {

struct HostOptions {
    QString connection;                 // empty: the remembered one, else the demo database
    int userId = 0;                     // 0: ask in the login dialog
    std::optional<QString> smsGateway;  // given on the command line
    QString screenshot;
    QString searchScreenshot;
    bool help = false;
    QString error;  // a malformed command line, in Persian
};

// arguments include the program name, as QCoreApplication::arguments() gives them.
HostOptions ParseHostOptions(const QStringList& arguments);
QString HostHelpText();

// The demo database of ./x run: $SALEINVOICE_DEMO_DB or var/demo.sqlite in the source tree.
QString DefaultConnectionString();

}  // namespace si::host

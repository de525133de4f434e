#pragma once
// The host's start-up: the command line, the Persian right-to-left look, the registries of
// sibling components and stored procedures, the property bag in QSettings, the login, and then
// either the interactive window or the unattended screenshot run.

#include <QString>

class QApplication;

namespace si::host {

class HostApplication;
struct HostOptions;

// The whole program: the command line, then the application. Exit codes: 0 done (or login
// cancelled), 1 database or login failure, 2 bad command line.
int HostMain(int argc, char** argv);
int RunHost(HostApplication& app, const HostOptions& options);

// Right to left, a font that covers Persian (Noto Sans Arabic UI when installed) and Qt's own
// texts in Persian.
void SetupAppearance(QApplication& app);
bool LoadQtPersian(QApplication& app);
// The family of the Persian font, empty when none was found.
QString PersianFontFamily();

}  // namespace si::host

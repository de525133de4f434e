#include "apps/host/HostApplication.h"

#include <QTextStream>
#include <cstdio>

#include "common/CommandGuard.h"
#include "common/Messages.h"

namespace si::host {

HostApplication::HostApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool HostApplication::notify(QObject* receiver, QEvent* event) {
    QString text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const SqlError& e) {
        text = DatabaseErrorText(e);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("خطای پیش بینی نشده در برنامه.");
    }
    report(text);
    return false;
}

void HostApplication::report(const QString& text) const {
    if (components_) {
        ShowMessage(*components_, kErrorCaption, text);
        return;
    }
    QTextStream(stderr) << kErrorCaption << ": " << text << Qt::endl;
}

}  // namespace si::host

// Writes form events through spZelorInsertFormAction from a process of its own, each in its own
// transaction, so that a test can run several writers against one database at once.
//   si-event-writer CONNECTION COUNT TAG
// Exit code 0 when every event was written; the error on standard error otherwise.

#include <QCoreApplication>
#include <QTextStream>
#include <exception>

#include "common/Session.h"
#include "erpdb/Procedures.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) return 1;
    si::ProcedureRegistry procedures;
    si::erpdb::RegisterProcedures(procedures);
    try {
        auto session = si::Session::open(args[1], &procedures);
        const int count = args[2].toInt();
        for (int i = 1; i <= count; ++i) {
            const QDateTime now = session->now();
            session->call(
                QStringLiteral("spZelorInsertFormAction"),
                QVariantList{90101, i, 901, QStringLiteral("رويداد %1 از %2").arg(i).arg(args[3]),
                             1, now, QStringLiteral("1405/09/15"), 600});
        }
    } catch (const std::exception& e) {
        QTextStream(stderr) << e.what() << "\n";
        return 2;
    }
    return 0;
}

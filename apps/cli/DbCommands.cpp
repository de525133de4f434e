#include <QElapsedTimer>
#include <stdexcept>

#include "Cli.h"
#include "Commands.h"
#include "common/AuditKey.h"
#include "common/ConnectionString.h"
#include "common/Numbers.h"
#include "erpdb/Demo.h"
#include "erpdb/Schema.h"

namespace si::cli {

namespace {

struct InitOptions {
    bool demo = false;
    erpdb::DemoOptions demoOptions = erpdb::SmallDemo();
    bool ifMissing = false;
};

InitOptions parseInit(const QStringList& args) {
    InitOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--if-missing")) {
            o.ifMissing = true;
        } else if (a == QLatin1String("--demo") && i + 1 < args.size()) {
            o.demo = true;
            const QString size = args[++i];
            bool ok = size == QLatin1String("small");
            if (!ok) {
                const int goods = size.toInt(&ok);
                if (ok && goods > 0) o.demoOptions = erpdb::DemoOfSize(goods);
            }
            if (!ok) throw std::invalid_argument("اندازه نمونه باید small یا تعداد کالا باشد.");
        } else if (a == QLatin1String("--invoices") && i + 1 < args.size()) {
            o.demoOptions.invoices = args[++i].toInt();
        } else {
            throw std::invalid_argument(("گزینه نامعتبر: " + a).toStdString());
        }
    }
    return o;
}

// The key that signs the form events; a workstation joining a shared database gets a copy of
// the first one's file instead.
void ensureAuditKey(QTextStream& out) {
    const bool existed = ReadAuditKey().has_value();
    const QString path = EnsureAuditKey();
    if (!existed) out << "audit key created: " << path << "\n";
}

int runInit(CommandCall& call) {
    const InitOptions o = parseInit(call.args);
    ensureAuditKey(call.out);
    auto session = Session::open(call.options.db);
    const int before = erpdb::InstalledSchemaVersion(*session);
    if (o.ifMissing && before == erpdb::CurrentSchemaVersion() &&
        (!o.demo || erpdb::HasDemoData(*session))) {
        call.out << "database ready (schema version " << before << ")\n";
        return kExitOk;
    }
    erpdb::InstallSchema(*session);
    call.out << "schema version " << erpdb::InstalledSchemaVersion(*session) << " (was " << before
             << ")\n";
    if (!o.demo) return kExitOk;
    if (erpdb::HasDemoData(*session)) {
        call.out << "demo company already present\n";
        return kExitOk;
    }
    erpdb::DemoOptions demo = o.demoOptions;
    demo.progress = [&call](const QString& step) {
        call.out << "  " << step << "\n";
        call.out.flush();
    };
    QElapsedTimer timer;
    timer.start();
    erpdb::FillDemoData(*session, demo);
    call.out << "demo company filled in " << timer.elapsed() << " ms\n";
    return kExitOk;
}

const char* kHealthTables[] = {"tblUser",
                               "tblGood",
                               "tblGoodSaleInfo",
                               "tblOrganization",
                               "tblInventory",
                               "tblInventoryReceiptDetail",
                               "tblSalePricingMethod",
                               "tblSaleInvoiceType",
                               "tblSaleInvoice",
                               "tblSaleInvoiceDetail",
                               "tblSalePromotion",
                               "tblRecPayCashTurn",
                               "tblAccountDocument",
                               "tblInventoryDispatch",
                               "tblZelorSystemParameters",
                               "tblZelorReportTemplate",
                               "tblRecPayPos"};

void printParameters(QTextStream& out, const SystemParameters& params) {
    const SystemParameters defaults;
    int changed = 0;
    QString list;
    for (int id :
         {P::ShopMode, P::CreditCashBox, P::AgeLimitDays, P::StockRule, P::PeriodDates,
          P::DefaultDays, P::CreditControl, P::ShowStock, P::AccountObjects, P::DefaultInvoiceType,
          P::DefaultCustomer, P::DefaultPromoter, P::MaxLineDiscountPercent,
          P::MaxMasterDiscountPercent, P::DefaultFormal, P::ScaleLayout1, P::ScaleLayout2}) {
        const QVariant v = SystemParameters::kindOf(id) == ParamKind::Amount
                               ? QVariant(params.amount(id).toString())
                               : (params.text(id).isEmpty() ? QVariant(QStringLiteral("\"\""))
                                                            : QVariant(params.text(id)));
        list += QStringLiteral("    %1 = %2\n").arg(id).arg(v.toString());
    }
    for (int id = 1; id < 6000; ++id)
        if (SystemParameters::isKnown(id) && params.text(id) != defaults.text(id)) ++changed;
    out << "  parameters (" << changed << " differ from their defaults; rounding step "
        << params.roundingStep() << ", direction " << params.roundingDirection() << "):\n"
        << list;
}

// param ID [VALUE]: shows a system parameter, or sets it as the administrator's settings form
// would; only an administrator changes the company's settings.
int runParam(CommandCall& call) {
    bool ok = false;
    const int id = call.args.value(0).toInt(&ok);
    if (!ok || id < 1 || call.args.size() > 2) throw std::invalid_argument("param ID [VALUE]");
    CliContext cli(call.options);
    cli.open();
    Session& s = cli.ctx().db();
    if (call.args.size() == 2) {
        if (!s.scalar(QStringLiteral("select coalesce(IsAdmin, 0) from tblUser where ID = ?"),
                      {cli.ctx().globals.CurrentUserID})
                 .toBool()) {
            PrintError(QStringLiteral("خطا: فقط مدير سيستم تنظيمات را تغيير مي دهد."));
            return kExitRefused;
        }
        Transaction t = s.writerTransaction();
        s.exec(QStringLiteral("update tblZelorSystemParameters set Value = ? where ID = ?"),
               {call.args[1], id});
        if (!s.first(QStringLiteral("select ID from tblZelorSystemParameters where ID = ?"), {id}))
            s.exec(QStringLiteral("insert into tblZelorSystemParameters (ID, SystemID, Value, "
                                  "UserID) values (?, 9, ?, -1)"),
                   {id, call.args[1]});
        t.commit();
    }
    call.out << s.scalar(QStringLiteral("select Value from tblZelorSystemParameters where ID = ?"),
                         {id})
                    .toString()
             << "\n";
    return kExitOk;
}

int runHealth(CommandCall& call) {
    CliContext cli(call.options);
    cli.open();
    Context& ctx = cli.ctx();
    Session& s = ctx.db();
    QElapsedTimer timer;
    timer.start();
    call.out << "database: " << ConnectionString::redacted(call.options.db) << "\n";
    call.out << "schema version: " << erpdb::InstalledSchemaVersion(s) << "\n";
    call.out << "user " << ctx.globals.CurrentUserID << ": " << ctx.globals.CurrentUserFullName
             << "\n";
    call.out << "rows:\n";
    for (const char* table : kHealthTables) {
        const QString name = QString::fromLatin1(table);
        const QVariant n = s.scalar(QStringLiteral("select count(*) from ") + name);
        call.out << "  " << name.leftJustified(28) << FormatAmount(Money::fromVariant(n)) << "\n";
    }
    printParameters(call.out, ctx.params);
    call.out << "checked in " << timer.elapsed() << " ms\n";
    return kExitOk;
}

}  // namespace

std::vector<Command> DatabaseCommands() {
    return {
        {{QStringLiteral("db"), QStringLiteral("init")},
         QStringLiteral("db init [--demo small|N] [--invoices N] [--if-missing]"),
         QStringLiteral(
             "Installs or upgrades the schema. With --demo, fills an empty database with the\n"
             "demo company (small, or N goods). --if-missing does nothing when the schema\n"
             "is current and the demo present. Creates this machine's key file that signs the\n"
             "form events when it has none ($SALEINVOICE_AUDIT_KEY, else\n"
             "~/.config/ERP_Torvan/saleinvoice-audit.key); see audit verify."),
         runInit},
        {{QStringLiteral("health")},
         QStringLiteral("health"),
         QStringLiteral(
             "Opens a session as the invoice form does and reports rows per main table and\n"
             "the system parameters loaded for the user."),
         runHealth},
        {{QStringLiteral("param")},
         QStringLiteral("param ID [VALUE]"),
         QStringLiteral("Prints a system parameter; with VALUE (administrators only) sets it\n"
                        "first, e.g. param 3 1 for shop mode, param 2827 127.0.0.1:3000 for the\n"
                        "customer display."),
         runParam},
    };
}

std::vector<Command> AllCommands() {
    std::vector<Command> all = DatabaseCommands();
    for (Command& c : InvoiceCommands())
        all.push_back(std::move(c));
    for (Command& c : SearchCommands())
        all.push_back(std::move(c));
    for (Command& c : TurnCommands())
        all.push_back(std::move(c));
    for (Command& c : PayCommands())
        all.push_back(std::move(c));
    for (Command& c : PosCommands())
        all.push_back(std::move(c));
    for (Command& c : PrintCommands())
        all.push_back(std::move(c));
    for (Command& c : DispatchCommands())
        all.push_back(std::move(c));
    for (Command& c : BackToTempCommands())
        all.push_back(std::move(c));
    for (Command& c : DeleteCommands())
        all.push_back(std::move(c));
    for (Command& c : AuditCommands())
        all.push_back(std::move(c));
    return all;
}

}  // namespace si::cli

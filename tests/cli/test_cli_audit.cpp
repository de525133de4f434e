// audit verify on the demo company: a final create adds a link, an event row edited through the
// database is named with exit code 2, --from takes either calendar, and without the key file
// the check refuses. db init makes one key however many start at once.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

class CliAudit : public CliOneSaleTest {
protected:
    CliResult verify(const QStringList& extra = {}) {
        return run(QStringList{QStringLiteral("audit"), QStringLiteral("verify"),
                               QStringLiteral("--json")} +
                   extra);
    }
    QJsonObject broken(const CliResult& r) {
        return r.json().value(QStringLiteral("broken")).toObject();
    }
};

TEST_P(CliAudit, VerifyNamesAnEditedEventAndExitsTwo) {
    const QJsonObject invoice{
        {QStringLiteral("customer"), customer},
        {QStringLiteral("inventory"), 1},
        {QStringLiteral("lines"), QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                         {QStringLiteral("qty"), 1}}}}};
    const CliResult made =
        run({QStringLiteral("--yes"), QStringLiteral("invoice"), QStringLiteral("create"),
             QStringLiteral("-"), QStringLiteral("--final")},
            QJsonDocument(invoice).toJson());
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const int id = made.json().value(QStringLiteral("id")).toInt();
    const std::optional<Row> event =
        db().first(QStringLiteral("select ID, ChainSeq, Description from tblZelorFormEvent where "
                                  "EventTypeID = 90103 and FormCode = ?"),
                   {id});
    ASSERT_TRUE(event);

    const CliResult intact = verify();
    ASSERT_EQ(intact.exitCode, 0) << intact.err.toStdString() << intact.out.toStdString();
    EXPECT_TRUE(intact.json().value(QStringLiteral("intact")).toBool());
    EXPECT_GE(intact.json().value(QStringLiteral("checked")).toInt(), event->toInt(u"ChainSeq"));

    const auto restore = qScopeGuard([&] {
        db().exec(QStringLiteral("update tblZelorFormEvent set Description = ? where ID = ?"),
                  {event->text(u"Description"), event->toInt64(u"ID")});
    });
    db().exec(QStringLiteral("update tblZelorFormEvent set Description = 'x' where ID = ?"),
              {event->toInt64(u"ID")});
    const CliResult edited = verify();
    EXPECT_EQ(edited.exitCode, 2) << edited.err.toStdString();
    EXPECT_FALSE(edited.json().value(QStringLiteral("intact")).toBool());
    EXPECT_EQ(broken(edited).value(QStringLiteral("kind")).toString(), QStringLiteral("edited"));
    EXPECT_EQ(broken(edited).value(QStringLiteral("id")).toInteger(), event->toInt64(u"ID"));
    EXPECT_EQ(broken(edited).value(QStringLiteral("chainSeq")).toInteger(),
              event->toInt64(u"ChainSeq"));
    const CliResult text = run({QStringLiteral("audit"), QStringLiteral("verify")});
    EXPECT_EQ(text.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(event->text(u"ID")));
}

TEST_P(CliAudit, FromTakesAJalaliOrGregorianDay) {
    const CliResult all = verify({QStringLiteral("--from"), QStringLiteral("2000-01-01")});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const CliResult jalali = verify({QStringLiteral("--from"), QStringLiteral("۱۳۷۸/۱۰/۱۱")});
    EXPECT_EQ(jalali.exitCode, 0) << jalali.err.toStdString();
    EXPECT_EQ(jalali.json().value(QStringLiteral("checked")),
              all.json().value(QStringLiteral("checked")));
    const CliResult future = verify({QStringLiteral("--from"), QStringLiteral("1499/01/01")});
    EXPECT_EQ(future.exitCode, 0) << future.err.toStdString();
    EXPECT_EQ(future.json().value(QStringLiteral("checked")).toInt(), 0);
    for (const char* bad : {"1405/13/01", "2026-02-30", "yesterday"}) {
        const CliResult r = verify({QStringLiteral("--from"), QString::fromLatin1(bad)});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("--from"))) << r.err.toStdString();
    }
}

TEST_P(CliAudit, WithoutTheKeyFileVerifyRefuses) {
    QTemporaryDir dir;
    const QByteArray key = qgetenv("SALEINVOICE_AUDIT_KEY");
    const auto restore = qScopeGuard([&key] { qputenv("SALEINVOICE_AUDIT_KEY", key); });
    const QString missing = dir.filePath(QStringLiteral("missing.key"));
    qputenv("SALEINVOICE_AUDIT_KEY", QFile::encodeName(missing));
    const CliResult r = verify();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(missing)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
}

// Two installs at once on a machine without a key: both succeed and share the one key made.
TEST_P(CliAudit, InitMakesOneOwnerOnlyKeyWhenManyStartAtOnce) {
    QTemporaryDir dir;
    const QByteArray key = qgetenv("SALEINVOICE_AUDIT_KEY");
    const auto restore = qScopeGuard([&key] { qputenv("SALEINVOICE_AUDIT_KEY", key); });
    const QString path = dir.filePath(QStringLiteral("config/audit.key"));
    qputenv("SALEINVOICE_AUDIT_KEY", QFile::encodeName(path));
    ScratchDatabase first(GetParam());
    ScratchDatabase second(GetParam());
    QProcess inits[2];
    const QString connections[2] = {first.connectionString(), second.connectionString()};
    for (int i = 0; i < 2; ++i)
        inits[i].start(
            QStringLiteral(SALEINVOICE_EXE),
            {QStringLiteral("--db"), connections[i], QStringLiteral("db"), QStringLiteral("init")});
    int created = 0;
    for (QProcess& p : inits) {
        ASSERT_TRUE(p.waitForFinished(120000));
        const CliResult r = ResultOf(p);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        created += r.out.contains("audit key created") ? 1 : 0;
    }
    EXPECT_GE(created, 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray made = file.readAll();
    EXPECT_EQ(QByteArray::fromHex(made.trimmed()).size(), 32);
    EXPECT_EQ(file.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("config"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("audit.key")});
    const CliResult again = run({QStringLiteral("db"), QStringLiteral("init")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_FALSE(again.out.contains("audit key created"));
    file.seek(0);
    EXPECT_EQ(file.readAll(), made);
}

SI_INSTANTIATE_BACKENDS(CliAudit);

}  // namespace
}  // namespace si::test

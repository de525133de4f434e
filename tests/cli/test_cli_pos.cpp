// pos list | show | set: the demo's card terminals and the workstation's choice among them,
// kept in a settings directory of the test's own.

#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

class CliPos : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_TRUE(config.isValid());
        previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    void TearDown() override {
        if (previous.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previous);
    }
    QVariant storedPosId() const {
        return QSettings(config.filePath(QStringLiteral("ERP_Torvan.conf")), QSettings::IniFormat)
            .value(QStringLiteral("SaleInvoice/PosID"));
    }
    QStringList lines(const QStringList& args) const {
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QTemporaryDir config;
    QByteArray previous;
};

TEST_P(CliPos, TerminalsAreListedShownAndChosen) {
    const QString headers = QStringLiteral("ش.ر.\tنوع دستگاه\tنام\tدرگاه\tنرخ انتقال\tحساب");
    const QString office = QStringLiteral("2\tکارتخوان سريال\tکارتخوان دفتر مرکزي\tCOM3\t9600\t");
    const QString shop = QStringLiteral("1\tبانک ملي\tکارتخوان صندوق فروشگاه\tCOM1\t115200\t");
    const QStringList admins = lines({QStringLiteral("pos"), QStringLiteral("list")});
    ASSERT_EQ(admins.size(), 2);
    EXPECT_EQ(admins[0], headers);
    EXPECT_TRUE(admins[1].startsWith(office)) << admins[1].toStdString();
    const QStringList cashiers = lines({QStringLiteral("pos"), QStringLiteral("list"),
                                        QStringLiteral("--user"), QStringLiteral("2")});
    ASSERT_EQ(cashiers.size(), 2);
    EXPECT_TRUE(cashiers[1].startsWith(shop)) << cashiers[1].toStdString();
    const QStringList all = lines({QStringLiteral("pos"), QStringLiteral("list"),
                                   QStringLiteral("--user"), QStringLiteral("-1")});
    ASSERT_EQ(all.size(), 3);
    EXPECT_TRUE(all[1].startsWith(office) && all[2].startsWith(shop));

    const QStringList show = {QStringLiteral("pos"), QStringLiteral("show"), QStringLiteral("1"),
                              QStringLiteral("--json")};
    QJsonObject device = run(show).json();
    EXPECT_EQ(device.value(QStringLiteral("type")).toInt(), 3);
    EXPECT_EQ(device.value(QStringLiteral("user")).toInt(), 2);
    EXPECT_EQ(device.value(QStringLiteral("ip")).toString(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(device.value(QStringLiteral("ipPort")).toInt(), 8888);
    EXPECT_EQ(device.value(QStringLiteral("comPort")).toString(), QStringLiteral("COM1"));
    EXPECT_EQ(device.value(QStringLiteral("serialDevice")).toString(),
              QStringLiteral("/dev/ttyS0"));
    EXPECT_FALSE(device.value(QStringLiteral("inUse")).toBool());

    EXPECT_EQ(run({QStringLiteral("pos"), QStringLiteral("set"), QStringLiteral("1")}).exitCode, 0);
    EXPECT_EQ(storedPosId().toInt(), 1);
    EXPECT_TRUE(run(show).json().value(QStringLiteral("inUse")).toBool());
    const QStringList text =
        lines({QStringLiteral("pos"), QStringLiteral("show"), QStringLiteral("1")});
    EXPECT_TRUE(text.contains(QStringLiteral("inUse\ttrue"))) << text.join("|").toStdString();

    const CliResult missing =
        run({QStringLiteral("pos"), QStringLiteral("set"), QStringLiteral("999999")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("رديف انتخاب شده نادرست است.")));
    EXPECT_EQ(storedPosId().toInt(), 1);
    EXPECT_EQ(run({QStringLiteral("pos"), QStringLiteral("show"), QStringLiteral("x")}).exitCode,
              1);
    EXPECT_EQ(run({QStringLiteral("pos"), QStringLiteral("list"), QStringLiteral("--user"),
                   QStringLiteral("0")})
                  .exitCode,
              1);
}

}  // namespace

SI_INSTANTIATE_BACKENDS(CliPos);

}  // namespace si::test

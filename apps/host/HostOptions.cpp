#include "apps/host/HostOptions.h"

#include <QCommandLineParser>

#include "apps/host/SmsGateway.h"

namespace si::host {

namespace {

const QString kDbOption = QStringLiteral("db");
const QString kUserOption = QStringLiteral("user");
const QString kScreenshotOption = QStringLiteral("screenshot");
const QString kSearchScreenshotOption = QStringLiteral("search-screenshot");
const QString kSmsGatewayOption = QStringLiteral("sms-gateway");

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("سيستم فروش - ميزبان فاکتور فروش"));
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("نمايش اين راهنما")});
    parser.addOption({kDbOption, QStringLiteral("رشته اتصال پايگاه داده"), QStringLiteral("CONN")});
    parser.addOption(
        {kUserOption, QStringLiteral("ورود با کاربر ID بدون پنجره ورود"), QStringLiteral("ID")});
    parser.addOption({kSmsGatewayOption,
                      QStringLiteral("نشاني درگاه پيامك با {phone} و {text}، ذخيره در تنظيمات"),
                      QStringLiteral("URL")});
    parser.addOption({kScreenshotOption,
                      QStringLiteral("باز کردن فاکتور جديد، ذخيره تصوير آن در FILE و خروج"),
                      QStringLiteral("FILE")});
    parser.addOption({kSearchScreenshotOption,
                      QStringLiteral("جستجوي همه فاکتورها، ذخيره تصوير فرم جستجو در FILE و خروج"),
                      QStringLiteral("FILE")});
}

}  // namespace

HostOptions ParseHostOptions(const QStringList& arguments) {
    HostOptions options;
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.help = parser.isSet(QStringLiteral("help"));
    options.connection = parser.value(kDbOption);
    options.screenshot = parser.value(kScreenshotOption);
    options.searchScreenshot = parser.value(kSearchScreenshotOption);
    if (parser.isSet(kUserOption)) {
        bool ok = false;
        options.userId = parser.value(kUserOption).toInt(&ok);
        if (!ok || options.userId <= 0)
            options.error = QStringLiteral("شماره کاربر نادرست است: ") + parser.value(kUserOption);
    }
    if (parser.isSet(kSmsGatewayOption)) {
        options.smsGateway = parser.value(kSmsGatewayOption).trimmed();
        const QString problem = SmsGatewayProblem(*options.smsGateway);
        if (!problem.isEmpty()) options.error = problem;
    }
    if (!parser.positionalArguments().isEmpty())
        options.error = QStringLiteral("آرگومان ناشناخته: ") + parser.positionalArguments().first();
    if (options.error.isEmpty() && !options.screenshot.isEmpty() && options.userId == 0)
        options.error = QStringLiteral("--screenshot به --user نياز دارد.");
    if (options.error.isEmpty() && !options.searchScreenshot.isEmpty() && options.userId == 0)
        options.error = QStringLiteral("--search-screenshot به --user نياز دارد.");
    return options;
}

QString HostHelpText() {
    QCommandLineParser parser;
    describe(parser);
    // Without a running application the parser cannot name the program.
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QStringLiteral("saleinvoice-host"));
}

QString DefaultConnectionString() {
    QString file = qEnvironmentVariable("SALEINVOICE_DEMO_DB");
    if (file.isEmpty()) file = QStringLiteral(SI_SOURCE_DIR "/var/demo.sqlite");
    return QStringLiteral("Provider=SQLite;Data Source=") + file;
}

}  // namespace si::host

#include "apps/display/DisplayOptions.h"

#include <QCommandLineParser>

namespace si::display {

namespace {

const QString kDb = QStringLiteral("db");
const QString kListen = QStringLiteral("listen");
const QString kScreenshot = QStringLiteral("screenshot");
const QString kWait = QStringLiteral("wait");
const QString kPrint = QStringLiteral("print");
const QString kFullScreen = QStringLiteral("fullscreen");

void describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("نمايشگر صندوق: مبلغ قابل پرداخت فاكتوري كه صندوق با خط CashID,InvoiceID "
                       "اعلام مي‌كند"));
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("نمايش اين راهنما")});
    parser.addOption({kDb, QStringLiteral("رشته اتصال پايگاه داده"), QStringLiteral("CONN")});
    parser.addOption({kListen, QStringLiteral("نشاني دريافت؛ پيش فرض: پارامتر 2827 پايگاه داده"),
                      QStringLiteral("HOST:PORT")});
    parser.addOption(
        {kScreenshot,
         QStringLiteral("ذخيره تصوير پس از نخستين مبلغ (يا پس از --wait ثانيه) و خروج"),
         QStringLiteral("FILE")});
    parser.addOption(
        {kWait,
         QStringLiteral(
             "ثانيه‌هاي انتظار براي مبلغ با --screenshot (10)"),
         QStringLiteral("SECONDS")});
    parser.addOption({kPrint, QStringLiteral("نوشتن هر مبلغ نمايش داده شده در خروجي استاندارد")});
    parser.addOption({kFullScreen, QStringLiteral("نمايش تمام صفحه")});
}

}  // namespace

DisplayOptions ParseDisplayOptions(const QStringList& arguments) {
    DisplayOptions options;
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.help = parser.isSet(QStringLiteral("help"));
    options.connection = parser.value(kDb);
    options.listen = parser.value(kListen);
    options.screenshot = parser.value(kScreenshot);
    options.print = parser.isSet(kPrint);
    options.fullScreen = parser.isSet(kFullScreen);
    if (parser.isSet(kWait)) {
        bool ok = false;
        options.waitSeconds = parser.value(kWait).toInt(&ok);
        if (!ok || options.waitSeconds < 0)
            options.error = QStringLiteral("مدت انتظار نادرست است: ") + parser.value(kWait);
    }
    if (!parser.positionalArguments().isEmpty())
        options.error = QStringLiteral("آرگومان ناشناخته: ") + parser.positionalArguments().first();
    if (options.error.isEmpty() && !options.help && options.connection.isEmpty())
        options.error = QStringLiteral("--db لازم است.");
    return options;
}

QString DisplayHelpText() {
    QCommandLineParser parser;
    describe(parser);
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QStringLiteral("saleinvoice-display"));
}

}  // namespace si::display

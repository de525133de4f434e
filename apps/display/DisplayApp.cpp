#include "apps/display/DisplayApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QTextStream>
#include <QTimer>
#include <exception>
#include <memory>

#include "apps/display/CashDisplayServer.h"
#include "apps/display/CashDisplayState.h"
#include "apps/display/CashDisplayWindow.h"
#include "apps/display/DisplayOptions.h"
#include "common/Session.h"
#include "common/SystemParameters.h"
#include "posting/CashDisplay.h"

namespace si::display {

namespace {

constexpr int kSettleMilliseconds = 300;

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

void setupAppearance(QApplication& app) {
    app.setLayoutDirection(Qt::RightToLeft);
    QStringList families;
    for (const QString& family :
         {QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Sans Arabic UI")})
        if (QFontDatabase::families().contains(family)) families << family;
    families << QStringLiteral("Noto Sans") << QStringLiteral("DejaVu Sans");
    QFont font = app.font();
    font.setFamilies(families);
    app.setFont(font);
}

// --listen, else parameter 2827 as the cash desks read it.
QString endpointText(Session& session, const DisplayOptions& options) {
    if (!options.listen.isEmpty()) return options.listen;
    SystemParameters params;
    LoadSystemParameters(session, 0, params);
    return params.text(P::CashTurnEndpoint);
}

// The picture is taken once, after the window has laid out its texts.
class Screenshot {
public:
    Screenshot(QApplication& app, QWidget& window, QString file)
        : app_(app), window_(window), file_(std::move(file)) {}
    void takeSoon() {
        if (!scheduled_) QTimer::singleShot(kSettleMilliseconds, &app_, [this] { take(); });
        scheduled_ = true;
    }

private:
    void take() {
        const bool saved = window_.grab().save(file_, "PNG");
        if (saved)
            out() << QFileInfo(file_).absoluteFilePath() << Qt::endl;
        else
            err() << "cannot write " << file_ << Qt::endl;
        app_.exit(saved ? 0 : 1);
    }

    QApplication& app_;
    QWidget& window_;
    QString file_;
    bool scheduled_ = false;
};

int run(QApplication& app, const DisplayOptions& options) {
    std::unique_ptr<Session> session;
    QString endpoint;
    try {
        session = Session::openExisting(options.connection);
        endpoint = endpointText(*session, options);
    } catch (const std::exception& e) {
        err() << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    const auto where = ParseCashDisplayEndpoint(endpoint);
    if (!where) {
        err() << QStringLiteral(
                     "نشاني نمايشگر صندوق (پارامتر 2827) تعيين نشده است؛ آن را در پارامترهاي "
                     "سيستم تعيين كنيد يا با --listen HOST:PORT بدهيد.")
              << Qt::endl;
        return 2;
    }
    CashDisplayState state(*session);
    CashDisplayServer server(state);
    if (!server.listen(ListenAddress(where->host), where->port)) {
        err() << QStringLiteral("گوش دادن در ") << where->host << u':' << where->port
              << QStringLiteral(" ممكن نشد: ") << server.errorString() << Qt::endl;
        return 1;
    }
    err() << QStringLiteral("نمايشگر صندوق در ") << server.address()
          << QStringLiteral(" آماده است.") << Qt::endl;

    CashDisplayWindow window(state);
    Screenshot screenshot(app, window, options.screenshot);
    QObject::connect(&server, &CashDisplayServer::lineIgnored,
                     [](const QString& reason) { err() << reason << Qt::endl; });
    QObject::connect(&server, &CashDisplayServer::amountShown, [&] {
        window.refresh();
        if (options.print) out() << state.amountText() << Qt::endl;
        if (!options.screenshot.isEmpty()) screenshot.takeSoon();
    });
    if (!options.screenshot.isEmpty())
        QTimer::singleShot(options.waitSeconds * 1000, &app, [&] { screenshot.takeSoon(); });
    options.fullScreen ? window.showFullScreen() : window.show();
    return app.exec();
}

}  // namespace

int DisplayMain(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("saleinvoice-display"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const DisplayOptions options = ParseDisplayOptions(arguments);
    if (options.help) {
        out() << DisplayHelpText();
        return 0;
    }
    if (!options.error.isEmpty()) {
        err() << options.error << Qt::endl << DisplayHelpText();
        return 2;
    }
    QApplication app(argc, argv);
    setupAppearance(app);
    return run(app, options);
}

}  // namespace si::display

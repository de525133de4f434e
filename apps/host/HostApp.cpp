#include "apps/host/HostApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <optional>

#include "apps/host/HostApplication.h"
#include "apps/host/HostOptions.h"
#include "apps/host/HostWindow.h"
#include "apps/host/LoginDialog.h"
#include "apps/host/SettingsPropertyBag.h"
#include "apps/host/SmsGateway.h"
#include "apps/host/UnattendedMessages.h"
#include "common/SqlError.h"
#include "component/comSaleInvoice1.h"
#include "erpdb/Procedures.h"
#include "invoice/ui/FormMain.h"
#include "search/ui/FormSearch.h"
#include "suite/Components.h"

namespace si::host {

namespace {

// The UI cut of Noto Sans Arabic has the line height of a Latin font, which lets the invoice
// form fit a till screen; the plain cut is the fallback.
const QString kFontFamily = QStringLiteral("Noto Sans Arabic UI");
const QString kFontFile =
    QStringLiteral("/usr/share/fonts/truetype/noto/NotoSansArabicUI-Regular.ttf");
const QString kFallbackFamily = QStringLiteral("Noto Sans Arabic");
constexpr int kSettleMilliseconds = 1500;

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

struct Login {
    QString connection;
    UserAccount user;
};

std::optional<Login> loginAs(const QString& connection, int userId) {
    LoginLogic logic;
    LoginResult result;
    if (logic.connect(connection)) result = logic.loginWithoutPassword(userId);
    if (!result.ok()) {
        err() << (logic.error().isEmpty() ? result.error : logic.error()) << Qt::endl;
        return std::nullopt;
    }
    return Login{connection, *result.user};
}

std::optional<Login> askLogin(const QString& connection, int preferredUserId) {
    LoginDialog dialog(connection, preferredUserId);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Login{dialog.connection(), dialog.user()};
}

// A new sale as the menu starts it; after the event loop has settled, the form is saved as a
// picture and the application quits.
bool savePicture(QWidget& widget, const QString& file) {
    const bool saved = widget.grab().save(file, "PNG");
    if (saved)
        QTextStream(stdout) << QFileInfo(file).absoluteFilePath() << Qt::endl;
    else
        err() << "cannot write " << file << Qt::endl;
    return saved;
}

int takeScreenshot(QApplication& app, HostWindow& window, const QString& file) {
    FormMain* form = nullptr;
    try {
        form = StartNewSale(window.control());
        if (form && form->logic().FormMode() != kModeNew)
            err() << "cmdNew is not available; the picture shows the cleared form" << Qt::endl;
    } catch (const std::exception& e) {
        err() << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    if (!form) return 1;
    err() << "invoice form in mode " << form->logic().FormMode() << Qt::endl;
    QTimer::singleShot(kSettleMilliseconds, &app,
                       [&app, form, file] { app.exit(savePicture(*form, file) ? 0 : 1); });
    return app.exec();
}

// The search form as a clerk leaves it: every invoice found, the second and fourth marked.
int takeSearchScreenshot(HostWindow& window, const QString& file) {
    bool saved = false;
    window.control().runSearchForm = [&saved, &file](FormSearch& form, bool) {
        form.findChild<QPushButton*>(QStringLiteral("cmdSearch"))->click();
        form.logic().result().toggleMark(1);
        form.logic().result().toggleMark(3);
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < kSettleMilliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        saved = savePicture(form, file);
        return QString();
    };
    try {
        window.control().SearchInvoice();
    } catch (const std::exception& e) {
        err() << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    return saved ? 0 : 1;
}

}  // namespace

QString PersianFontFamily() {
    if (QFontDatabase::families().contains(kFontFamily)) return kFontFamily;
    const int id = QFontDatabase::addApplicationFont(kFontFile);
    if (id < 0)
        return QFontDatabase::families().contains(kFallbackFamily) ? kFallbackFamily : QString();
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

// Qt's own texts (standard buttons, file and print dialogs) in Persian; false when the
// translation is not installed, and the texts stay English.
bool LoadQtPersian(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

void SetupAppearance(QApplication& app) {
    app.setLayoutDirection(Qt::RightToLeft);
    LoadQtPersian(app);
    const QString family = PersianFontFamily();
    if (family.isEmpty()) return;  // the platform's default font still draws most of Persian
    QFont font = app.font();
    // Latin text and digits fall through to the next family.
    font.setFamilies({family, QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(10);
    app.setFont(font);
}

int HostMain(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("saleinvoice-host"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Help and usage errors need no display, so they come before the application.
    const HostOptions options = ParseHostOptions(arguments);
    if (options.help) {
        QTextStream(stdout) << HostHelpText();
        return 0;
    }
    if (!options.error.isEmpty()) {
        err() << options.error << Qt::endl << HostHelpText();
        return 2;
    }
    HostApplication app(argc, argv);
    return RunHost(app, options);
}

int RunHost(HostApplication& app, const HostOptions& options) {
    SetupAppearance(app);
    ComponentRegistry components;
    ProcedureRegistry procedures;
    suite::RegisterComponents(components);
    erpdb::RegisterProcedures(procedures);
    const bool unattended = !options.screenshot.isEmpty() || !options.searchScreenshot.isEmpty();
    if (unattended) UseUnattendedMessages(components);
    app.setComponents(&components);
    // The registry ends with this function; the application outlives it.
    const struct Detach {
        HostApplication& app;
        ~Detach() { app.setComponents(nullptr); }
    } detach{app};

    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    if (options.smsGateway) StoreSmsGateway(settings, *options.smsGateway);
    SettingsPropertyBag bag(settings);
    HostWindow window(components, procedures);
    comSaleInvoice1& control = window.control();
    control.ReadProperties(bag);

    QString connection = options.connection;
    if (connection.isEmpty()) connection = control.OLEConnectionString();
    if (connection.isEmpty()) connection = DefaultConnectionString();
    const std::optional<Login> login = options.userId > 0 ? loginAs(connection, options.userId)
                                                          : askLogin(connection, control.UserID());
    if (!login) return options.userId > 0 ? 1 : 0;
    ApplyLogin(control, login->connection, login->user);
    window.showSession(login->connection, login->user);
    window.show();
    // An unattended run leaves the clerk's remembered session alone.
    if (!options.searchScreenshot.isEmpty())
        return takeSearchScreenshot(window, options.searchScreenshot);
    if (unattended) return takeScreenshot(app, window, options.screenshot);
    window.startOutbox(settings);
    window.onExit = [&control, &bag] {
        control.WriteProperties(bag);
        bag.sync();
    };
    return app.exec();
}

}  // namespace si::host

#include "apps/host/SmsGateway.h"

namespace si::host {

namespace {

QString filled(const QString& urlTemplate, const QString& phone, const QString& text) {
    // The encoded phone holds no brace, so it cannot bring a placeholder of its own.
    QString url = urlTemplate.trimmed();
    url.replace(kPhonePlaceholder, QString::fromLatin1(QUrl::toPercentEncoding(phone)));
    url.replace(kTextPlaceholder, QString::fromLatin1(QUrl::toPercentEncoding(text)));
    return url;
}

}  // namespace

QString SmsGatewayProblem(const QString& urlTemplate) {
    if (urlTemplate.trimmed().isEmpty()) return {};
    if (!urlTemplate.contains(kPhonePlaceholder) || !urlTemplate.contains(kTextPlaceholder))
        return QStringLiteral("نشاني درگاه پيامك بايد {phone} و {text} را داشته باشد.");
    const QUrl url = SmsRequestUrl(urlTemplate, QStringLiteral("0"), QStringLiteral("0"));
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QStringLiteral("نشاني درگاه پيامك بايد نشاني درست http يا https باشد.");
    return {};
}

QUrl SmsRequestUrl(const QString& urlTemplate, const QString& phone, const QString& text) {
    return QUrl(filled(urlTemplate, phone, text), QUrl::TolerantMode);
}

QString ReadSmsGateway(QSettings& settings) {
    return settings.value(kSmsGatewayKey).toString().trimmed();
}

void StoreSmsGateway(QSettings& settings, const QString& urlTemplate) {
    if (urlTemplate.trimmed().isEmpty())
        settings.remove(kSmsGatewayKey);
    else
        settings.setValue(kSmsGatewayKey, urlTemplate.trimmed());
}

}  // namespace si::host

#pragma once
// The SMS gateway the host hands its messages to: a URL template kept in the host's settings,
// with {phone} and {text} replaced by the message's phone and text, percent-encoded as UTF-8,
// e.g. http://127.0.0.1:9000/send?to={phone}&text={text}. The host asks for it with GET; any
// 2xx answer means the gateway took the message.

#include <QSettings>
#include <QString>
#include <QUrl>

namespace si::host {

inline const QString kSmsGatewayKey = QStringLiteral("Sms/Gateway");
inline const QString kPhonePlaceholder = QStringLiteral("{phone}");
inline const QString kTextPlaceholder = QStringLiteral("{text}");

// Why the template cannot be used, in Persian; empty when it can, and for an empty template
// (no gateway: messages wait).
QString SmsGatewayProblem(const QString& urlTemplate);

// The request for one message.
QUrl SmsRequestUrl(const QString& urlTemplate, const QString& phone, const QString& text);

QString ReadSmsGateway(QSettings& settings);
// An empty template removes the setting.
void StoreSmsGateway(QSettings& settings, const QString& urlTemplate);

}  // namespace si::host

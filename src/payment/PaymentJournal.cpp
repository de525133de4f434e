#include "payment/PaymentJournal.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSet>
#include <QStandardPaths>
#include <stdexcept>

namespace si {

namespace {
const QString kEvent = QStringLiteral("event");
const QString kAttempt = QStringLiteral("attempt");
}  // namespace

PaymentJournal::PaymentJournal(QString path) : path_(std::move(path)) {
    if (path_.isEmpty())
        path_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                QStringLiteral("/pos-journal.log");
}

void PaymentJournal::append(const QString& event, const QJsonObject& payment) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QFile file(path_);
    if (!file.open(QIODevice::Append | QIODevice::WriteOnly))
        throw std::runtime_error(QStringLiteral("دفتر پرداختهاي كارتي نوشته نشد: %1")
                                     .arg(file.errorString())
                                     .toStdString());
    QJsonObject line = payment;
    line.insert(kEvent, event);
    const QByteArray bytes = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        throw std::runtime_error(QStringLiteral("دفتر پرداختهاي كارتي نوشته نشد: %1")
                                     .arg(file.errorString())
                                     .toStdString());
}

std::vector<QJsonObject> PaymentJournal::lines() const {
    std::vector<QJsonObject> result;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return result;
    while (!file.atEnd()) {
        const QJsonDocument doc = QJsonDocument::fromJson(file.readLine());
        // A line cut by a crash is not an event.
        if (doc.isObject()) result.push_back(doc.object());
    }
    return result;
}

std::vector<QJsonObject> PaymentJournal::pendingApprovals() const {
    const std::vector<QJsonObject> all = lines();
    QSet<QString> done;
    for (const QJsonObject& l : all)
        if (l.value(kEvent).toString() == QLatin1String("done"))
            done.insert(l.value(kAttempt).toString());
    std::vector<QJsonObject> pending;
    for (const QJsonObject& l : all)
        if (l.value(kEvent).toString() == QLatin1String("approved") &&
            !done.contains(l.value(kAttempt).toString())) {
            done.insert(l.value(kAttempt).toString());  // once, however often it was journaled
            pending.push_back(l);
        }
    return pending;
}

std::vector<QJsonObject> PaymentJournal::unansweredAttempts() const {
    const std::vector<QJsonObject> all = lines();
    QSet<QString> answered;
    for (const QJsonObject& l : all)
        if (l.value(kEvent).toString() != QLatin1String("sent"))
            answered.insert(l.value(kAttempt).toString());
    std::vector<QJsonObject> open;
    for (const QJsonObject& l : all)
        if (l.value(kEvent).toString() == QLatin1String("sent") &&
            !answered.contains(l.value(kAttempt).toString()))
            open.push_back(l);
    return open;
}

}  // namespace si

#include "common/AuditKey.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <stdexcept>

#include "common/SqlError.h"

namespace si {

namespace {

constexpr int kKeyBytes = 32;

QByteArray newKeyText() {
    QByteArray key(kKeyBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(key.data()),
                                          kKeyBytes / sizeof(quint32));
    return key.toHex() + '\n';
}

[[noreturn]] void failToCreate(const QString& path, const char* why) {
    throw std::runtime_error((QStringLiteral("فايل كليد زنجيره رويدادها ساخته نشد: ") + path +
                              QStringLiteral(" (") + QString::fromLocal8Bit(why) + u')')
                                 .toStdString());
}

// The whole key is written under a name of its own and then linked to the final name: a reader
// never sees half a key, and of two processes creating it at once the first link wins and the
// other uses that key.
void createKeyFile(const QString& path) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) failToCreate(path, "mkdir");
    QByteArray temp = QFile::encodeName(dir + QStringLiteral("/.audit-key-XXXXXX"));
    const int fd = mkstemp(temp.data());  // created 0600
    if (fd < 0) failToCreate(path, strerror(errno));
    const QByteArray text = newKeyText();
    const bool written = write(fd, text.constData(), static_cast<size_t>(text.size())) ==
                             static_cast<ssize_t>(text.size()) &&
                         fsync(fd) == 0;
    close(fd);
    const int linked = written ? link(temp.constData(), QFile::encodeName(path).constData()) : -1;
    const int linkError = errno;
    unlink(temp.constData());
    if (!written) failToCreate(path, "write");
    if (linked != 0 && linkError != EEXIST) failToCreate(path, strerror(linkError));
}

}  // namespace

QString AuditKeyPath() {
    const QString named = qEnvironmentVariable("SALEINVOICE_AUDIT_KEY");
    if (!named.isEmpty()) return QFileInfo(named).absoluteFilePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ERP_Torvan/saleinvoice-audit.key");
}

std::optional<QByteArray> ReadAuditKey() {
    QFile file(AuditKeyPath());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray key = QByteArray::fromHex(file.read(4 * kKeyBytes).trimmed());
    if (key.size() != kKeyBytes) return std::nullopt;
    return key;
}

QString MissingAuditKeyMessage() {
    return QStringLiteral("فايل كليد زنجيره رويدادها در اين رايانه پيدا نشد: ") + AuditKeyPath() +
           QStringLiteral(
               "\nبدون آن هيچ رويدادي ثبت نمي شود. فايل كليد را از رايانه اي كه پايگاه داده را "
               "ساخته است به اين مسير كپي كنيد.");
}

QByteArray RequireAuditKey() {
    std::optional<QByteArray> key = ReadAuditKey();
    if (!key) throw SqlError(QStringLiteral("audit key"), MissingAuditKeyMessage());
    return *key;
}

QString EnsureAuditKey() {
    const QString path = AuditKeyPath();
    if (!QFileInfo::exists(path)) createKeyFile(path);
    if (!ReadAuditKey())
        throw std::runtime_error(
            (QStringLiteral("فايل كليد زنجيره رويدادها كليد معتبري ندارد: ") + path).toStdString());
    return path;
}

}  // namespace si

#include "common/FoldedText.h"

#include <sqlite3.h>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <algorithm>
#include <cstring>

namespace si {

namespace {

// Where the fold does anything: Arabic letters and both kinds of Eastern digits.
constexpr char16_t kArabicYeh = 0x064A;
constexpr char16_t kAlefMaksura = 0x0649;
constexpr char16_t kArabicKaf = 0x0643;
constexpr char16_t kFarsiYeh = 0x06CC;
constexpr char16_t kKeheh = 0x06A9;
constexpr char16_t kArabicIndicZero = 0x0660;
constexpr char16_t kPersianZero = 0x06F0;

char16_t folded(char16_t c) {
    if (c < 0x80) return c;
    if (c >= kArabicIndicZero && c <= kArabicIndicZero + 9) return u'0' + (c - kArabicIndicZero);
    if (c >= kPersianZero && c <= kPersianZero + 9) return u'0' + (c - kPersianZero);
    if (c == kArabicYeh || c == kAlefMaksura) return kFarsiYeh;
    if (c == kArabicKaf) return kKeheh;
    return c;
}

QString escapedForLike(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return escaped;
}

// The smallest text after every text that begins with the prefix, in code-point order: the
// prefix with its last character raised by one (a character already at the top is dropped).
QString pastPrefix(const QString& prefix) {
    QList<uint> points = prefix.toUcs4();
    while (!points.isEmpty() && points.last() >= 0x10FFFF)
        points.removeLast();
    if (points.isEmpty()) return {};
    uint& last = points.last();
    last = last == 0xD7FF ? 0xE000 : last + 1;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), points.size());
}

void sqliteFoldedText(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const QByteArray utf8 =
        FoldedText(QString::fromUtf8(text, sqlite3_value_bytes(args[0]))).toUtf8();
    sqlite3_result_text(context, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// SQLite stores text as UTF-8, whose byte order is the code-point order of PostgreSQL's "C".
int codePointOrder(void*, int leftSize, const void* left, int rightSize, const void* right) {
    const int common = std::memcmp(left, right, static_cast<size_t>(std::min(leftSize, rightSize)));
    return common != 0 ? common : leftSize - rightSize;
}

}  // namespace

QString FoldedText(const QString& text) {
    // Most keys (barcodes, codes) have nothing to fold: they are returned shared, not copied.
    const auto first = std::find_if(text.cbegin(), text.cend(),
                                    [](QChar c) { return folded(c.unicode()) != c.unicode(); });
    if (first == text.cend()) return text;
    QString out = text;
    for (auto it = out.begin() + (first - text.cbegin()); it != out.end(); ++it)
        *it = QChar(folded(it->unicode()));
    return out;
}

QString FoldedTextFrom() {
    QString from = QChar(kArabicYeh);
    from += QChar(kAlefMaksura);
    from += QChar(kArabicKaf);
    for (int d = 0; d < 10; ++d)
        from += QChar(char16_t(kArabicIndicZero + d));
    for (int d = 0; d < 10; ++d)
        from += QChar(char16_t(kPersianZero + d));
    return from;
}

QString FoldedTextTo() {
    return FoldedText(FoldedTextFrom());
}

QString FoldedKey(const QString& column) {
    return QStringLiteral("FoldedText(") + column + QStringLiteral(") COLLATE \"C\"");
}

FoldedRange FoldedPrefixRange(const QString& typed) {
    const QString prefix = FoldedText(typed);
    return {prefix, pastPrefix(prefix)};
}

QString FoldedContainsPattern(const QString& typed) {
    return QLatin1Char('%') + escapedForLike(FoldedText(typed).toLower()) + QLatin1Char('%');
}

bool RegisterFoldedText(QSqlDatabase& sqlite) {
    const QVariant handle = sqlite.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    if (!db) return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    return sqlite3_create_function_v2(db, "FoldedText", 1, flags, nullptr, &sqliteFoldedText,
                                      nullptr, nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_collation_v2(db, "C", SQLITE_UTF8, nullptr, &codePointOrder, nullptr) ==
               SQLITE_OK;
}

}  // namespace si

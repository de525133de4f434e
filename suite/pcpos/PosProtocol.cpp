#include "suite/pcpos/PosProtocol.h"

#include <QSet>
#include <QStringDecoder>

namespace si::pcpos {

namespace {

bool IsKeyChar(QChar c) {
    return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_');
}

bool IsKey(QStringView key) {
    if (key.isEmpty()) return false;
    for (QChar c : key)
        if (!IsKeyChar(c)) return false;
    return true;
}

bool IsVerb(QStringView verb) {
    if (verb.isEmpty()) return false;
    for (QChar c : verb)
        if (c < u'A' || c > u'Z') return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

QByteArrayView WithoutLineEnd(QByteArrayView bytes) {
    if (bytes.endsWith('\n')) bytes.chop(1);
    if (bytes.endsWith('\r')) bytes.chop(1);
    return bytes;
}

// "key=value;key=value" into the line's fields; false when any pair is malformed.
bool ParsePairs(QByteArrayView text, ProtocolLine& line) {
    if (text.isEmpty()) return true;
    QSet<QString> seen;
    for (const QByteArray& pair : text.toByteArray().split(';')) {
        const qsizetype eq = pair.indexOf('=');
        if (eq < 0) return false;
        const QString key = QString::fromLatin1(pair.left(eq));
        const std::optional<QString> value = UnescapeValue(QByteArrayView(pair).sliced(eq + 1));
        if (!IsKey(key) || seen.contains(key) || !value) return false;
        seen.insert(key);
        line.add(key, *value);
    }
    return true;
}

}  // namespace

bool ProtocolLine::has(const QString& key) const {
    for (const auto& [k, v] : fields)
        if (k == key) return true;
    return false;
}

QString ProtocolLine::value(const QString& key) const {
    for (const auto& [k, v] : fields)
        if (k == key) return v;
    return {};
}

QString EscapeValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
            case '%':
                out += QStringLiteral("%25");
                break;
            case ';':
                out += QStringLiteral("%3B");
                break;
            case '=':
                out += QStringLiteral("%3D");
                break;
            case '\r':
                out += QStringLiteral("%0D");
                break;
            case '\n':
                out += QStringLiteral("%0A");
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<QString> UnescapeValue(QByteArrayView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '=' || c == ';' || c == '\n' || c == '\r') return std::nullopt;
        if (c != '%') {
            bytes += c;
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return DecodeUtf8(bytes);
}

QByteArray SerializeLine(const ProtocolLine& line) {
    QStringList pairs;
    for (const auto& [key, value] : line.fields)
        pairs.append(key + u'=' + EscapeValue(value));
    return (line.verb + u' ' + pairs.join(u';')).toUtf8() + '\n';
}

std::optional<ProtocolLine> ParseLine(QByteArrayView bytes) {
    const QByteArrayView text = WithoutLineEnd(bytes);
    const qsizetype space = text.indexOf(' ');
    ProtocolLine line;
    line.verb = QString::fromLatin1(space < 0 ? text : text.first(space));
    if (!IsVerb(line.verb)) return std::nullopt;
    if (space >= 0 && !ParsePairs(text.sliced(space + 1), line)) return std::nullopt;
    return line;
}

}  // namespace si::pcpos

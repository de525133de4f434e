#include "common/Numbers.h"

#include "common/Int128.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

namespace si {

namespace {

// The number a text starts with, kept as its decimal digits so that rounding can work on them
// exactly rather than on a binary double: the value is 0.digits * 10^pointPos.
struct LeadingNumber {
    bool negative = false;
    std::string digits;      // significant digits, no leading zeros; empty for zero
    long long pointPos = 0;  // digits before the decimal point
};

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype scanDigits(QStringView text, qsizetype i, std::string& out) {
    for (; i < text.size() && isAsciiDigit(text[i]); ++i)
        out += char(text[i].unicode());
    return i;
}

// An exponent only counts when at least one digit follows its letter and optional sign.
long long scanExponent(QStringView text, qsizetype i) {
    static const QString letters = QStringLiteral("eEdD");
    if (i >= text.size() || !letters.contains(text[i])) return 0;
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    std::string digits;
    scanDigits(text, i, digits);
    long long value = 0;
    for (char c : digits)
        value = std::min(value * 10 + (c - '0'), 100000LL);  // far past any use
    return negative ? -value : value;
}

std::optional<LeadingNumber> scanLeadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    LeadingNumber n;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        n.negative = text[i] == QLatin1Char('-');
        ++i;
    }
    std::string intDigits;
    std::string fracDigits;
    i = scanDigits(text, i, intDigits);
    if (i < text.size() && text[i] == QLatin1Char('.')) i = scanDigits(text, i + 1, fracDigits);
    if (intDigits.empty() && fracDigits.empty()) return std::nullopt;

    n.digits = intDigits + fracDigits;
    n.pointPos = static_cast<long long>(intDigits.size()) + scanExponent(text, i);
    const auto firstSignificant = std::min(n.digits.find_first_not_of('0'), n.digits.size());
    n.digits.erase(0, firstSignificant);
    n.pointPos -= static_cast<long long>(firstSignificant);
    return n;
}

double toDouble(const LeadingNumber& n) {
    if (n.digits.empty()) return 0.0;
    const std::string text =
        (n.negative ? "-0." : "0.") + n.digits + 'e' + std::to_string(n.pointPos);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone: overflow or underflow shows in the point's position.
        const double magnitude = n.pointPos > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return n.negative ? -magnitude : magnitude;
    }
    return value;
}

// The magnitude of a number truncated to `keep` decimals, in units of 10^-keep, and whether any
// non-zero digit was cut off (needed to tell a true tie from a value just above it).
struct Scaled {
    Int128 units = 0;
    bool cutNonZero = false;
};

constexpr int kMaxDigits = 36;  // well inside a 128-bit integer

Int128 powerOfTen(int exponent) {
    Int128 p = 1;
    for (int k = 0; k < exponent; ++k)
        p *= 10;
    return p;
}

std::optional<Scaled> scaleTo(const LeadingNumber& n, int keep) {
    if (n.digits.empty()) return Scaled{};
    const long long taken = n.pointPos + keep;
    if (taken > kMaxDigits) return std::nullopt;
    Scaled s;
    const long long available = static_cast<long long>(n.digits.size());
    for (long long k = 0; k < std::max(taken, 0LL); ++k)
        s.units = s.units * 10 + (k < available ? n.digits[std::size_t(k)] - '0' : 0);
    for (long long k = std::max(taken, 0LL); k < available && !s.cutNonZero; ++k)
        s.cutNonZero = n.digits[std::size_t(k)] != '0';
    return s;
}

// Half to even, dropping `drop` of the kept decimals.
Int128 roundHalfEven(const Scaled& s, int drop) {
    const Int128 divisor = powerOfTen(drop);
    Int128 quotient = s.units / divisor;
    const Int128 remainder = s.units % divisor;
    const Int128 half = divisor / 2;
    if (remainder > half || (remainder == half && (s.cutNonZero || quotient % 2 != 0))) ++quotient;
    return quotient;
}

// The rounding of RoundHalfUp in units of 10^-decimals; 0 for text that is not a number.
Int128 roundHalfUpUnits(QStringView text, int decimals) {
    if (decimals < 0 || decimals > kMaxDigits / 2)
        throw std::invalid_argument("RoundHalfUp: decimals out of range");
    const auto number = scanLeadingNumber(text);
    if (!number) return 0;
    const auto scaled = scaleTo(*number, decimals + 2);
    if (!scaled) throw std::out_of_range("RoundHalfUp: value too large");
    const int sign = number->negative ? -1 : 1;
    const Int128 r0 = sign * roundHalfEven(*scaled, 2);
    const Int128 r1 = sign * roundHalfEven(*scaled, 1);
    return r1 - r0 * 10 >= 5 ? r0 + 1 : r0;
}

std::string digitsOf(Int128 magnitude) {
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return digits;
}

// "-12.345" for units -12345 at 3 decimals.
std::string unitsToText(Int128 units, int decimals) {
    const bool negative = units < 0;
    std::string digits = digitsOf(negative ? -units : units);
    if (decimals > 0) {
        if (digits.size() <= std::size_t(decimals))
            digits.insert(0, std::size_t(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - std::size_t(decimals), 1, '.');
    }
    return negative ? '-' + digits : digits;
}

Money unitsToMoney(Int128 units, int decimals) {
    // Beyond four decimals the Currency conversion rounds half to even, as Money::parse does.
    const auto money = Money::parse(QString::fromStdString(unitsToText(units, decimals)));
    if (!money) throw std::out_of_range("amount does not fit in Money");
    return *money;
}

QString shortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

template <typename Int>
Int roundToInteger(double value, const char* what) {
    const double rounded = std::nearbyint(value);  // the default mode: ties to even
    if (!(rounded >= double(std::numeric_limits<Int>::min()) &&
          rounded <= double(std::numeric_limits<Int>::max())))
        throw std::out_of_range(what);
    return static_cast<Int>(rounded);
}

}  // namespace

double Val(QStringView text) {
    const auto number = scanLeadingNumber(text);
    return number ? toDouble(*number) : 0.0;
}

double ToNumber(const QString& text) {
    if (text.trimmed().isEmpty()) return -1;
    if (text == QLatin1String("True")) return 1;
    const double value = Val(QString(text).remove(QLatin1Char('/')));
    return std::isfinite(value) ? value : 0.0;  // an overflow is swallowed like any error
}

double ToNumber(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return -1;
    if (value.typeId() == QMetaType::Bool) return value.toBool() ? 1 : 0;  // VB's text "True"
    if (value.typeId() == qMetaTypeId<Money>()) return value.value<Money>().toDouble();
    return ToNumber(value.toString());
}

Money ToCurrency(const QString& text) {
    const auto number = scanLeadingNumber(text);
    if (!number || toDouble(*number) == 0.0) return {};
    // Trailing text after the number is ignored rather than refused: a clerk's stray letter
    // must not stop a form.
    const auto scaled = scaleTo(*number, 5);
    if (!scaled) throw std::out_of_range("amount does not fit in Money");
    const Int128 units = roundHalfEven(*scaled, 1);
    return unitsToMoney(number->negative ? -units : units, 4);
}

Money RoundHalfUp(const QString& number, int decimals) {
    return unitsToMoney(roundHalfUpUnits(number, decimals), decimals);
}

Money RoundHalfUp(Money value, int decimals) {
    if (decimals >= 4) return value;
    return RoundHalfUp(value.toString(), decimals);
}

Money RoundHalfUp(double value, int decimals) {
    return RoundHalfUp(shortestText(value), decimals);
}

double RoundHalfUpPercent(double value, int decimals) {
    // Doubles from 2^53 up are whole numbers already.
    if (!std::isfinite(value) || std::abs(value) >= 9007199254740992.0) return value;
    const std::string text = unitsToText(roundHalfUpUnits(shortestText(value), decimals), decimals);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

QString FormatAmount(Money value) {
    const QString text = value.toString();
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QString integerPart = text.mid(negative ? 1 : 0, point < 0 ? -1 : point - negative);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);

    QString grouped;
    for (qsizetype end = integerPart.size(); end > 0; end -= 3) {
        const qsizetype start = std::max<qsizetype>(0, end - 3);
        const QString group = integerPart.mid(start, end - start);
        grouped = grouped.isEmpty() ? group : group + QLatin1Char('/') + grouped;
    }
    if (!fraction.isEmpty()) grouped += QLatin1Char('.') + fraction;
    return negative ? QLatin1Char('-') + grouped : grouped;
}

Money ParseAmount(const QString& text) {
    return ToCurrency(QString(text).remove(QLatin1Char('/')));
}

int NoneToMinus1(const QVariant& value) {
    const QString text = value.toString();
    if (text == QStringLiteral("ندارد")) return -1;
    return ToInt32(Val(text));
}

QString RepeatText(const QString& text, int count) {
    return count <= 0 ? QString() : text.repeated(count);
}

qint64 RoundHalfEven(double value) {
    const double rounded = std::nearbyint(value);  // the default mode: ties to even
    // 2^63 itself is one beyond the largest 64-bit value.
    if (!(rounded >= -0x1p63 && rounded < 0x1p63))
        throw std::out_of_range("value does not fit in 64 bits");
    return static_cast<qint64>(rounded);
}

qint32 ToInt32(double value) {
    return roundToInteger<qint32>(value, "value does not fit in 32 bits");
}

qint16 ToInt16(double value) {
    return roundToInteger<qint16>(value, "value does not fit in 16 bits");
}

}  // namespace si

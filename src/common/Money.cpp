#include "common/Money.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "common/Int128.h"

namespace si {

namespace {

// A rounded product as raw ten-thousandths; the range check also turns NaN away.
std::int64_t checkedRaw(long double rounded) {
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
    if (!(rounded >= -kLimit && rounded < kLimit))
        throw std::out_of_range("amount does not fit in Money");
    return static_cast<std::int64_t>(rounded);
}

}  // namespace

Money Money::fromDouble(double value) {
    return Money(checkedRaw(std::nearbyint(value * kScale)));
}

std::optional<Money> Money::parse(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    bool negative = false;
    qsizetype i = 0;
    if (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) {
        negative = text[0] == QLatin1Char('-');
        ++i;
    }
    Int128 whole = 0;
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    int nextDigit = -1;  // fifth decimal, for rounding
    bool stickyBeyond = false;
    bool seenDigit = false;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!c.isDigit()) return std::nullopt;
        const int d = c.digitValue();
        seenDigit = true;
        if (!seenPoint) {
            whole = whole * 10 + d;
            if (whole > (Int128(1) << 62)) return std::nullopt;
        } else if (fractionDigits < 4) {
            fraction = fraction * 10 + d;
            ++fractionDigits;
        } else if (nextDigit < 0) {
            nextDigit = d;
        } else if (d != 0) {
            stickyBeyond = true;
        }
    }
    if (!seenDigit) return std::nullopt;
    for (int k = fractionDigits; k < 4; ++k)
        fraction *= 10;
    Int128 raw = whole * kScale + fraction;
    if (nextDigit > 5 || (nextDigit == 5 && (stickyBeyond || raw % 2 != 0))) ++raw;
    if (raw > std::numeric_limits<std::int64_t>::max()) return std::nullopt;
    const auto magnitude = static_cast<std::int64_t>(raw);
    return Money(negative ? -magnitude : magnitude);
}

Money Money::fromVariant(const QVariant& value) {
    if (value.isNull() || !value.isValid()) return {};
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return fromRials(value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return fromDouble(value.toDouble());
        default:
            break;
    }
    if (value.canConvert<Money>() && value.typeId() == qMetaTypeId<Money>())
        return value.value<Money>();
    return parse(value.toString()).value_or(Money());
}

QString Money::toString() const {
    const bool negative = raw_ < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t(-(raw_ + 1)) + 1 : std::uint64_t(raw_);
    QString text = QString::number(magnitude / kScale);
    std::uint64_t fraction = magnitude % kScale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

Money Money::times(double factor) const {
    const long double product = static_cast<long double>(raw_) * static_cast<long double>(factor);
    return Money(checkedRaw(std::nearbyintl(product)));
}

}  // namespace si

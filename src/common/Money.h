#pragma once
// Money: a 64-bit count of ten-thousandths of a Rial, the Currency type of the original suite.
// Never a double: amounts are added, compared and stored exactly; only percentages are doubles,
// and a product with one is brought back to four decimals at once.

#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>
#include <optional>

namespace si {

class Money {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(std::int64_t tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromRials(std::int64_t rials) { return Money(rials * kScale); }
    // Rounded to four decimals, ties to even (the conversion to Currency of the original suite);
    // std::out_of_range when it does not fit (the suite's overflow error).
    static Money fromDouble(double value);
    // Exact decimal text such as "1234.5", "-0.25", " 12 "; digits past the fourth decimal are
    // rounded half to even. No group separators. nullopt for anything else.
    static std::optional<Money> parse(QStringView text);
    // Null gives 0; numbers and numeric text convert; anything else gives 0.
    static Money fromVariant(const QVariant& value);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / kScale; }
    // Shortest text: "1234.5", "-3", "0.25", "0".
    QString toString() const;
    // Whole Rials toward zero (Fix).
    constexpr std::int64_t wholeRials() const { return raw_ / kScale; }
    constexpr Money fix() const { return Money(raw_ / kScale * kScale); }
    constexpr bool isZero() const { return raw_ == 0; }
    constexpr Money abs() const { return Money(raw_ < 0 ? -raw_ : raw_); }
    // Product with a double factor (a percentage share, a unit factor), back to four decimals;
    // std::out_of_range when it does not fit.
    Money times(double factor) const;

    constexpr Money operator-() const { return Money(-raw_); }
    constexpr Money operator+(Money o) const { return Money(raw_ + o.raw_); }
    constexpr Money operator-(Money o) const { return Money(raw_ - o.raw_); }
    constexpr Money& operator+=(Money o) {
        raw_ += o.raw_;
        return *this;
    }
    constexpr Money& operator-=(Money o) {
        raw_ -= o.raw_;
        return *this;
    }
    constexpr Money operator*(std::int64_t n) const { return Money(raw_ * n); }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(std::int64_t raw) : raw_(raw) {}
    std::int64_t raw_ = 0;
};

}  // namespace si

Q_DECLARE_METATYPE(si::Money)

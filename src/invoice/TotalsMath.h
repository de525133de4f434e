#pragma once
// Exact amount arithmetic for the line and invoice totals. A percentage of an amount is taken as
// amount x percent (four decimals) and then divided by 100 exactly, so that Fix and the rounding
// never see a double's representation error. RoundHalfUpRials is the suite's RoundHalfUp to whole
// Rials (the same double rounding, see Numbers.h) without going through text: the totals call it
// thousands of times per refresh.

#include "common/Int128.h"
#include "common/Money.h"

namespace si::totals {

// units / divisor rounded half to even, on the magnitude (the sign is put back by the caller).
inline Int128 halfEvenQuotient(Int128 magnitude, Int128 divisor) {
    Int128 q = magnitude / divisor;
    const Int128 r = magnitude % divisor;
    if (2 * r > divisor || (2 * r == divisor && q % 2 != 0)) ++q;
    return q;
}

// RoundHalfUp(units / divisor, 0) with divisor a power of ten of at least 10: r0 rounds to whole
// numbers and r1 to tenths, both half to even; r0 + 1 when r1 - 10 r0 >= 5.
inline Int128 roundHalfUpQuotient(Int128 units, Int128 divisor) {
    const int sign = units < 0 ? -1 : 1;
    const Int128 magnitude = units < 0 ? -units : units;
    const Int128 r0 = sign * halfEvenQuotient(magnitude, divisor);
    const Int128 r1 = sign * halfEvenQuotient(magnitude, divisor / 10);
    return r1 - r0 * 10 >= 5 ? r0 + 1 : r0;
}

inline Money RoundHalfUpRials(Money value) {
    return Money::fromRials(
        static_cast<std::int64_t>(roundHalfUpQuotient(value.raw(), Money::kScale)));
}

// RoundHalfUp(value x percent / 100, 0).
inline Money RoundHalfUpPercentOf(Money value, double percent) {
    return Money::fromRials(static_cast<std::int64_t>(
        roundHalfUpQuotient(value.times(percent).raw(), Money::kScale * 100)));
}

// Fix(value x percent / 100): toward zero, in whole Rials.
inline Money FixPercentOf(Money value, double percent) {
    return Money::fromRials(value.times(percent).raw() / (Money::kScale * 100));
}

// Fix(value x percent / 100 + other): the wage of a precious-metal line.
inline Money FixPercentOfPlus(Money value, double percent, Money other) {
    const Int128 hundredths = Int128(value.times(percent).raw()) + Int128(other.raw()) * 100;
    return Money::fromRials(static_cast<std::int64_t>(hundredths / (Money::kScale * 100)));
}

// VB's Round(value, 0): half to even, in whole Rials.
inline Money RoundHalfEvenRials(Money value) {
    const Int128 magnitude = value.raw() < 0 ? -Int128(value.raw()) : Int128(value.raw());
    const Int128 q = halfEvenQuotient(magnitude, Money::kScale);
    return Money::fromRials(static_cast<std::int64_t>(value.raw() < 0 ? -q : q));
}

}  // namespace si::totals

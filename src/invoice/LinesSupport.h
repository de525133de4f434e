#pragma once
// Small helpers of the line grid's source files: reading typed numbers and comparing codes.

#include <QString>
#include <cmath>
#include <optional>

#include "common/FoldedText.h"
#include "common/Money.h"

namespace si::lines {

// Tolerance of quantity comparisons (quantities are doubles).
inline constexpr double kQtyEpsilon = 1e-9;

// A quantity that is stored as 0: quantities are stored with four decimals, and a whole-number
// unit counts in units.
inline bool isZeroAtUnitPrecision(double qty, bool wholeUnit) {
    return std::round(qty * (wholeUnit ? 1.0 : 10000.0)) == 0;
}

// Codes and barcodes are the same when they are after the fold of look-ups (FoldedText), in
// any case.
inline bool sameText(const QString& a, const QString& b) {
    return FoldedText(a.trimmed()).compare(FoldedText(b.trimmed()), Qt::CaseInsensitive) == 0;
}

// Persian and Arabic-Indic digits and the decimal sign as ASCII, group separators dropped.
inline QString plainNumberText(const QString& text) {
    QString plain;
    for (QChar c : text.trimmed()) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9)
            plain += QChar(u'0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669)
            plain += QChar(u'0' + (u - 0x0660));
        else if (u == 0x066B)
            plain += QLatin1Char('.');
        else if (c != QLatin1Char('/') && c != QLatin1Char(','))
            plain += c;
    }
    return plain;
}

// A typed number; an empty cell is 0; nullopt for text that is not a number.
inline std::optional<double> numberOf(const QString& text) {
    const QString plain = plainNumberText(text);
    if (plain.isEmpty()) return 0.0;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

// A typed amount ("12/500" or "12500.5"); an empty cell is 0; nullopt for anything else.
inline std::optional<Money> amountOf(const QString& text) {
    const QString plain = plainNumberText(text);
    if (plain.isEmpty()) return Money();
    return Money::parse(plain);
}

// VB's Round(value, 0): whole Rials, ties to even.
inline Money roundRialsHalfEven(Money value) {
    const std::int64_t scale = Money::kScale;
    const std::int64_t magnitude = value.raw() < 0 ? -value.raw() : value.raw();
    std::int64_t whole = magnitude / scale;
    const std::int64_t rest = magnitude % scale;
    if (2 * rest > scale || (2 * rest == scale && whole % 2 != 0)) ++whole;
    return Money::fromRials(value.raw() < 0 ? -whole : whole);
}

}  // namespace si::lines

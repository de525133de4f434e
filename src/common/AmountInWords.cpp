// Amounts in Persian words, as printed on invoices. The joining blanks are kept exactly as the
// suite always produced them (a trailing blank after a group, two after the units group), since
// printed templates and stored texts were laid out around them.

#include <array>
#include <stdexcept>

#include "common/Numbers.h"

namespace si {

namespace {

const std::array<QString, 10> kUnits = {
    QString(),
    QStringLiteral("يك"),
    QStringLiteral("دو"),
    QStringLiteral("سه"),
    QStringLiteral("چهار"),
    QStringLiteral("پنج"),
    QStringLiteral("شش"),
    QStringLiteral("هفت"),
    QStringLiteral("هشت"),
    QStringLiteral("نه"),
};

const std::array<QString, 10> kTeens = {
    QStringLiteral("ده"),     QStringLiteral("يازده"),  QStringLiteral("دوازده"),
    QStringLiteral("سيزده"),  QStringLiteral("چهارده"), QStringLiteral("پانزده"),
    QStringLiteral("شانزده"), QStringLiteral("هفده"),   QStringLiteral("هجده"),
    QStringLiteral("نوزده"),
};

const std::array<QString, 10> kTens = {
    QString(),
    QString(),
    QStringLiteral("بيست"),
    QStringLiteral("سي"),
    QStringLiteral("چهل"),
    QStringLiteral("پنجاه"),
    QStringLiteral("شصت"),
    QStringLiteral("هفتاد"),
    QStringLiteral("هشتاد"),
    QStringLiteral("نود"),
};

const std::array<QString, 10> kHundreds = {
    QString(),
    QStringLiteral("يكصد"),
    QStringLiteral("دويست"),
    QStringLiteral("سيصد"),
    QStringLiteral("چهارصد"),
    QStringLiteral("پانصد"),
    QStringLiteral("ششصد"),
    QStringLiteral("هفتصد"),
    QStringLiteral("هشتصد"),
    QStringLiteral("نهصد"),
};

const std::array<QString, 6> kScales = {
    QString(),
    QStringLiteral("هزار"),
    QStringLiteral("ميليون"),
    QStringLiteral("ميليارد"),
    QStringLiteral("تريليون"),
    QStringLiteral("تريليارد"),
};

constexpr qint64 kLimit = 1000000000000000000LL;  // 10^18, past the largest scale

QString connector(const QString& following) {
    return following.isEmpty() ? QStringLiteral(" ") : QStringLiteral(" و ");
}

// Words of 0 < n < 1000, built from the units upward.
QString wordsBelowThousand(int n) {
    QString text = kUnits[std::size_t(n % 10)];
    const int tens = n / 10 % 10;
    if (tens == 1) {
        text = kTeens[std::size_t(n % 10)];
    } else if (tens >= 2) {
        text = kTens[std::size_t(tens)] + connector(text) + text;
    }
    const int hundreds = n / 100;
    if (hundreds != 0) text = kHundreds[std::size_t(hundreds)] + connector(text) + text;
    return text;
}

}  // namespace

QString AmountInWordsOfRials(qint64 rials) {
    if (rials == 0) return QStringLiteral("صفر");
    if (rials < 0) {
        if (rials <= -kLimit) throw std::out_of_range("AmountInWords: value too large");
        return QStringLiteral("منفي ") + AmountInWordsOfRials(-rials);
    }
    if (rials >= kLimit) throw std::out_of_range("AmountInWords: value too large");
    QString result;
    for (std::size_t k = 0; rials != 0; ++k, rials /= 1000) {
        const int group = int(rials % 1000);
        if (group == 0) continue;
        result =
            wordsBelowThousand(group) + QLatin1Char(' ') + kScales[k] + connector(result) + result;
    }
    return result;
}

QString AmountInWords(Money value) {
    // A value below one Rial has no words beyond the empty text; only zero itself reads "صفر".
    if (value.isZero()) return QStringLiteral("صفر");
    if (value.wholeRials() == 0) return QString();
    return AmountInWordsOfRials(value.wholeRials());
}

}  // namespace si

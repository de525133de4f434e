#include "invoice/WalkInBuyer.h"

#include "common/TextLimits.h"

namespace si {

namespace {

constexpr int kFewestPhoneDigits = 7;
constexpr int kMostPhoneDigits = 15;

const QString kPhoneProblem = QStringLiteral(
    "«تلفن خريدار» بايد 7 تا 15 رقم باشد و جز يك علامت + در ابتداي آن نويسه ديگري نداشته باشد.");
const QString kNameNeeded =
    QStringLiteral("«نام خريدار» را هم وارد كنيد؛ تلفن بدون نام خريدار ثبت نمي شود.");

// The value of a Latin, Persian or Arabic-Indic digit; -1 for any other character.
int digitOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= 0x06F0 && u <= 0x06F9) return u - 0x06F0;
    if (u >= 0x0660 && u <= 0x0669) return u - 0x0660;
    return -1;
}

}  // namespace

std::optional<QString> StoredPhone(const QString& typed) {
    const QString text = typed.trimmed();
    const bool plus = text.startsWith(u'+');
    QString phone = plus ? QStringLiteral("+") : QString();
    for (qsizetype i = plus ? 1 : 0; i < text.size(); ++i) {
        const int digit = digitOf(text[i]);
        if (digit < 0) return std::nullopt;
        phone += QChar(u'0' + digit);
    }
    const qsizetype digits = phone.size() - (plus ? 1 : 0);
    if (digits < kFewestPhoneDigits || digits > kMostPhoneDigits) return std::nullopt;
    return phone;
}

WalkInEntry ReadWalkInBuyer(const QString& name, const QString& phone) {
    WalkInEntry entry;
    const QString typedName = name.trimmed();
    const QString typedPhone = phone.trimmed();
    if (typedName.isEmpty() && typedPhone.isEmpty()) return entry;
    entry.problem = TextProblem(TextField::WalkInName, typedName);
    if (!entry.ok()) return entry;
    if (typedName.isEmpty()) {
        entry.problem = kNameNeeded;
        return entry;
    }
    entry.buyer.name = typedName;
    if (typedPhone.isEmpty()) return entry;
    const std::optional<QString> stored = StoredPhone(typedPhone);
    if (!stored) {
        entry.buyer = {};
        entry.problem = kPhoneProblem;
        entry.phoneAtFault = true;
        return entry;
    }
    entry.buyer.phone = *stored;
    return entry;
}

}  // namespace si

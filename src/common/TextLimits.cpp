#include "common/TextLimits.h"

#include <stdexcept>

namespace si {

namespace {

QString quoted(const QString& name) {
    return QStringLiteral("«") + name + QStringLiteral("»");
}

// Line breaks and tabs lay text out within the field (notes and descriptions pasted from other
// documents carry them); both databases store them unchanged, and printing shows them as such.
bool isLayout(QChar c) {
    return c == u'\n' || c == u'\r' || c == u'\t';
}

constexpr bool kCut = true;
constexpr bool kRefuse = false;

TextLimit entry(TextField field, const char16_t* name, int length, bool cut, const char* columns) {
    return {field, QString::fromUtf16(name), length, cut,
            QString::fromLatin1(columns).split(u' ', Qt::SkipEmptyParts)};
}

}  // namespace

const QVector<TextLimit>& TextLimits() {
    static const QVector<TextLimit> limits{
        entry(TextField::ManualCode, u"شماره قبض", 50, kRefuse, "tblSaleInvoice.ManualCode"),
        // Stored as a number: 18 digits always fit a BIGINT, 19 may not.
        entry(TextField::CardNo, u"شماره كارت", 18, kRefuse, ""),
        entry(TextField::Notes, u"ملاحظات", 2000, kCut, "tblSaleInvoice.Notes"),
        entry(TextField::CustomerMessage, u"پيام", 200, kCut, "tblSaleInvoice.CustomerMessage"),
        entry(TextField::LineDescription, u"شرح كالا", 500, kRefuse,
              "tblSaleInvoiceDetail.Description tblSaleInvoiceDetailDiscount.Description "
              "tblInventoryDispatchDetail.Description"),
        entry(TextField::DocumentDescription, u"شرح سند", 2000, kCut,
              "tblAccountDocument.Description tblAccountDocumentDetail.Description"),
        entry(TextField::WalkInName, u"نام خريدار", 100, kRefuse, "tblSaleInvoiceWalkIn.Name"),
        entry(TextField::WalkInPhone, u"تلفن خريدار", 16, kRefuse, "tblSaleInvoiceWalkIn.Phone"),
        entry(TextField::SmsTemplate, u"متن پيامك", 4000, kRefuse,
              "tblZelorSystemParameters.Value"),
    };
    return limits;
}

const TextLimit& LimitOf(TextField field) {
    for (const TextLimit& limit : TextLimits())
        if (limit.field == field) return limit;
    throw std::logic_error("a text field without a stated length");
}

qsizetype ForbiddenControlAt(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].category() == QChar::Other_Control && !isLayout(text[i])) return i;
    return -1;
}

QString TextProblem(TextField field, const QString& value) {
    const TextLimit& limit = LimitOf(field);
    const QString text = value.trimmed();
    if (!text.isValidUtf16())
        return quoted(limit.name) +
               QStringLiteral(" نويسه يونيكد نامعتبر (نيمه جفت جانشين تنها) دارد.");
    const qsizetype control = ForbiddenControlAt(text);
    if (control >= 0)
        return quoted(limit.name) + QStringLiteral(" نويسه كنترلي غيرمجاز (كد ") +
               QString::number(text[control].unicode()) + QStringLiteral(") در جايگاه ") +
               QString::number(control + 1) +
               QStringLiteral(" دارد؛ جز سطر جديد و Tab نويسه كنترلي پذيرفته نيست.");
    if (!limit.cut && text.size() > limit.length)
        return QStringLiteral("طول ") + quoted(limit.name) + QStringLiteral(" ") +
               QString::number(text.size()) + QStringLiteral(" نويسه است و حداكثر ") +
               QString::number(limit.length) + QStringLiteral(" نويسه مجاز است.");
    return {};
}

QString CutText(const QString& text, int length) {
    if (text.size() <= length) return text;
    qsizetype end = length;
    if (end > 0 && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate()) --end;
    return text.left(end);
}

QString StoredText(TextField field, const QString& value) {
    const TextLimit& limit = LimitOf(field);
    const QString text = value.trimmed();
    return limit.cut ? CutText(text, limit.length) : text;
}

}  // namespace si

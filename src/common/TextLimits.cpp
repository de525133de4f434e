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

}  // namespace

const QVector<TextLimit>& TextLimits() {
    // 18 digits always fit a BIGINT; 19 may not.
    static const QVector<TextLimit> limits{
        {TextField::ManualCode,
         QStringLiteral("شماره قبض"),
         50,
         false,
         {QStringLiteral("tblSaleInvoice.ManualCode")}},
        {TextField::CardNo, QStringLiteral("شماره كارت"), 18, false, {}},
        {TextField::Notes,
         QStringLiteral("ملاحظات"),
         2000,
         true,
         {QStringLiteral("tblSaleInvoice.Notes")}},
        {TextField::CustomerMessage,
         QStringLiteral("پيام"),
         200,
         true,
         {QStringLiteral("tblSaleInvoice.CustomerMessage")}},
        {TextField::LineDescription,
         QStringLiteral("شرح كالا"),
         500,
         false,
         {QStringLiteral("tblSaleInvoiceDetail.Description"),
          QStringLiteral("tblSaleInvoiceDetailDiscount.Description"),
          QStringLiteral("tblInventoryDispatchDetail.Description")}},
        {TextField::DocumentDescription,
         QStringLiteral("شرح سند"),
         2000,
         true,
         {QStringLiteral("tblAccountDocument.Description"),
          QStringLiteral("tblAccountDocumentDetail.Description")}},
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

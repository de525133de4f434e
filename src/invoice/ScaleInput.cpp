#include "invoice/ScaleInput.h"

#include <cmath>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"

namespace si {

namespace {

const QString kProblemCaption = QStringLiteral("اشکال");
const QString kWeightBeforeCode = QStringLiteral("فيلد کد نبايد بعد از فيلد وزن باشد.");

constexpr int kLayoutLength = 12;
constexpr int kStationBarcodeMinLength = 13;

// A run of one letter in a layout, from the letter's first occurrence.
struct Field {
    int start = -1;
    int length = 0;
    bool present() const { return start >= 0; }
    int end() const { return start + length; }
};

Field fieldOf(const QString& layout, QChar letter) {
    Field f;
    f.start = static_cast<int>(layout.indexOf(letter));
    if (!f.present()) return f;
    while (f.end() < layout.size() && layout[f.end()] == letter)
        ++f.length;
    return f;
}

struct LabelLayout {
    QString text;
    bool byCode = true;  // a "C" field; otherwise a "B" field
    Field code;
    Field whole;
    Field fraction;
    int weightStart() const { return whole.present() ? whole.start : fraction.start; }
};

LabelLayout layoutOf(const QString& text) {
    LabelLayout l;
    l.text = text.left(kLayoutLength);
    l.code = fieldOf(l.text, QLatin1Char('C'));
    if (!l.code.present()) {
        l.byCode = false;
        l.code = fieldOf(l.text, QLatin1Char('B'));
    }
    l.whole = fieldOf(l.text, QLatin1Char('N'));
    l.fraction = fieldOf(l.text, QLatin1Char('F'));
    return l;
}

bool sameFixed(const QString& text, const QString& layout, int from, int to) {
    if (to <= from) return true;
    return text.mid(from, to - from).toUpper() == layout.mid(from, to - from).toUpper();
}

QString digitsUnder(const QString& text, const Field& field) {
    return field.present() ? text.mid(field.start, field.length) : QString();
}

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The whole and fraction digits as one number, to the four places of a currency value. A label
// with anything but digits there is not a weight, so it is no label.
std::optional<double> weightOf(const QString& whole, const QString& fraction) {
    if (!allDigits(whole) || !allDigits(fraction)) return std::nullopt;
    const QString number = (whole.isEmpty() ? QStringLiteral("0") : whole) + QLatin1Char('.') +
                           (fraction.isEmpty() ? QStringLiteral("0") : fraction);
    const double value = number.toDouble();
    return std::round(value * 10000) / 10000;
}

// What a label of a usable layout holds: the goods (a code or a barcode) and the weight.
struct Label {
    QString goods;
    bool byCode = true;
    double weight = 1;
};

// A layout with a goods field and a weight field, the weight after the goods.
bool usable(const LabelLayout& layout) {
    return !layout.text.isEmpty() && layout.code.present() &&
           (layout.whole.present() || layout.fraction.present()) &&
           layout.weightStart() >= layout.code.start;
}

std::optional<Label> labelOf(const LabelLayout& layout, const QString& text) {
    if (text.size() != layout.text.size()) return std::nullopt;
    if (!sameFixed(text, layout.text, 0, layout.code.start) ||
        !sameFixed(text, layout.text, layout.code.end(), layout.weightStart()))
        return std::nullopt;
    const auto weight =
        weightOf(digitsUnder(text, layout.whole), digitsUnder(text, layout.fraction));
    if (!weight) return std::nullopt;
    return Label{digitsUnder(text, layout.code), layout.byCode, *weight};
}

}  // namespace

ScaleInput::ScaleInput(InvoiceServices& services) : services_(services) {
    services_.lines->IsScaleBarcode = [this](const QString& text, QString& barcode,
                                             double& weight) {
        return IsScaleBarcode(text, barcode, weight);
    };
}

bool ScaleInput::ParseScaleBarcode(const QString& layoutText, const QString& text, QString& barcode,
                                   double& weight) {
    weight = 1;
    const LabelLayout layout = layoutOf(layoutText);
    if (layout.text.isEmpty() || !layout.code.present()) return false;
    if (!layout.whole.present() && !layout.fraction.present()) return false;
    if (layout.weightStart() < layout.code.start) {
        ShowMessage(services_.ctx, kProblemCaption, kWeightBeforeCode);
        return false;
    }
    const auto label = labelOf(layout, text);
    if (!label) return false;
    const QString goods =
        label->byCode ? services_.lookups->barcodeOfCode(label->goods) : label->goods;
    if (goods.isEmpty()) return false;
    barcode = goods;
    weight = label->weight;
    return true;
}

void ScaleInput::LabelGoods(const QString& text, QStringList& barcodes, QStringList& codes) const {
    const SystemParameters& p = services_.ctx.params;
    for (const QString& layoutText : {p.text(P::ScaleLayout1), p.text(P::ScaleLayout2)}) {
        const LabelLayout layout = layoutOf(layoutText);
        if (!usable(layout)) continue;
        if (const auto label = labelOf(layout, text))
            (label->byCode ? codes : barcodes) << label->goods;
    }
}

bool ScaleInput::IsScaleBarcode(const QString& text, QString& barcode, double& weight) {
    const SystemParameters& p = services_.ctx.params;
    return ParseScaleBarcode(p.text(P::ScaleLayout1), text, barcode, weight) ||
           ParseScaleBarcode(p.text(P::ScaleLayout2), text, barcode, weight);
}

int ScaleInput::cmbScaleBarcode_Change(const QString& input) {
    const QString text = input.trimmed();
    if (text.size() < kStationBarcodeMinLength || !text.startsWith(QLatin1Char('/')) ||
        !text.endsWith(QLatin1Char('/')))
        return 0;
    Context& ctx = services_.ctx;
    QVariantList args{static_cast<int>(ToNumber(services_.doc.txtID)), text,
                      ctx.globals.CurrentUserID, QString()};
    const int invoice =
        ctx.db().call(QStringLiteral("dbo.spSaleInvoiceCopyFromScale"), args).toInt();
    const QString message = args.value(3).toString();
    if (!message.isEmpty()) ShowMessage(ctx, kProblemCaption, message);
    return invoice > 0 ? invoice : 0;
}

}  // namespace si

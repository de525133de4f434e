#pragma once
// The messages and captions of the line grid, shared by its source files.

#include <QString>

namespace si::lines {

inline const QString kProblemCaption = QStringLiteral("اشكال");
inline const QString kNoChangeCaption = QStringLiteral("عدم امکان تغيير");
inline const QString kNoDeleteCaption = QStringLiteral("عدم امکان حذف کالا");
inline const QString kDeleteCaption = QStringLiteral("حذف كالا از فاكتور");
inline const QString kQuestionCaption = QStringLiteral("پرسش");
inline const QString kThresholdCaption = QStringLiteral("رسيدن تعداد کالا به حد اشانتيون");

inline const QString kDuplicate = QStringLiteral("كالا تكراري است");
inline const QString kNoSuchGoods = QStringLiteral("چنين كالايي وجود ندارد");
inline const QString kNotForSale = QStringLiteral("اين کالا قابل فروش نميباشد");
inline const QString kNoStock = QStringLiteral("از اين كالا موجودي قابل فروش نداريم");
inline const QString kIntegerUnit =
    QStringLiteral("اين واحد كالا, فقط تعداد صحيح مي پذيرد و تعداد اعشاري قابل قبول نيست.");
inline const QString kInRow = QStringLiteral(" در رديف ");

inline const QString kVehicleDelete =
    QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان حذف کالا از فاکتور وجود ندارد.");
inline const QString kVehicleGoods =
    QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان تغيير کالا وجود ندارد.");
inline const QString kVehicleQty =
    QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان تغيير تعداد وجود ندارد.");
inline const QString kVehicleUnit =
    QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان تغيير واحد وجود ندارد.");
inline const QString kAreYouSure = QStringLiteral("آيا مطمئن هستيد؟");

inline const QString kMaxStockPrefix = QStringLiteral("حداكثر موجودي قابل فروش از اين كالا،");
inline const QString kMaxStockSuffix = QStringLiteral("عدد است.");
inline const QString kChangeToNew = QStringLiteral(" آيا تعداد فروش به مقدار جديد تغيير يابد؟");
inline const QString kMaxStockLimited = QStringLiteral(
    "حداكثر موجودي قابل فروش از اين كالا، محدود است. آيا تعداد فروش به مقدار جديد تغيير يابد؟");
inline const QString kAboveSaleable =
    QStringLiteral("فروش بيش از حداكثر موجودي قابل فروش از اين كالا مجاز نيست!");
inline const QString kQtyTooLarge = QStringLiteral("تعداد كالا بيشتر از اندازة مجاز است.");
// Letters typed into a cell of figures (the original dropped them without a word).
inline const QString kNotANumberPrefix = QStringLiteral("«");
inline const QString kNotANumberSuffix = QStringLiteral("» عدد نيست؛ مقدار قبلي به جاي خود ماند.");
inline const QString kQtyTooSmall = QStringLiteral("تعداد كالا كمتر از اندازة مجاز است.");
inline const QString kPriceTooSmall = QStringLiteral("قيمت كالا كمتر از اندازة مجاز است.");
inline const QString kDiscountCeilingPrefix =
    QStringLiteral("تخفيف كالا بيش از سقف مجاز تعريف شده براي شما «");
inline const QString kDiscountCeilingSuffix = QStringLiteral("» است");
inline const QString kDiscountTooLarge = QStringLiteral("تخفيف كالا بيش از اندازة مجاز است.");
inline const QString kWagePercentWrong = QStringLiteral("درصد اجرت ساخت نادرست است");
inline const QString kWageNegative = QStringLiteral("مبلغ اجرت ساخت نبايد منفي باشد.");
inline const QString kWageAbovePrice = QStringLiteral("مبلغ اجرت ساخت بيش از قيمت کالاست.");
inline const QString kProfitPercentWrong = QStringLiteral("درصد سود نادرست است");
inline const QString kCommissionNegative = QStringLiteral("حقالعمل کار نبايد منفي باشد.");
inline const QString kCommissionAboveAmount =
    QStringLiteral("مبلغ حقالعمل کار بيش از مبلغ کل کالاست.");
inline const QString kThresholdPrefix = QStringLiteral("تعداد فروش رفته از کالاي ");
inline const QString kThresholdSuffix =
    QStringLiteral(" به حد اشانتيون رسيده است. مي توانيد به اين مشتري اشانتيون بدهيد.");

inline const QString kNoPricingMethod = QStringLiteral("قيمت گذاري مشخص نشده است.");
inline const QString kSameUnit = QStringLiteral("واحد كالا بايد با مقدار قبلي متفاوت باشد.");
inline const QString kNoDescription = QStringLiteral("متن وارد نشده است!");

// A quantity as the messages write it ("12", "2.5").
inline QString quantityText(double qty) {
    return QString::number(qty, 'g', 15);
}

}  // namespace si::lines

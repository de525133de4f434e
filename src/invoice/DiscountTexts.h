#pragma once
// The texts the discount and promotion rules show.

#include <QString>
#include <QStringList>

namespace si::discounts {

inline const QString kNoGrade = QStringLiteral("فاقد امتياز");
inline const QString kBirthdayFlashPrefix = QStringLiteral("مشمول تخفيف تولد=");
inline const QString kPercentSuffix = QStringLiteral(" درصد");
inline const QString kCardFlashPrefix = QStringLiteral("مشمول تخفيف کارتي=");
inline const QString kBirthdayMinimumPrefix = QStringLiteral("به دليل وجود تخفيف تولد «");
inline const QString kAndCardMinimum = QStringLiteral("» و تخفيف نوع کارت «");
inline const QString kMinimumIs = QStringLiteral("»، حداقل درصد تخفيف بايد «");
inline const QString kMinimumEnd = QStringLiteral("» باشد.");
inline const QString kBirthdayMinimumIs = QStringLiteral("» حداقل درصد تخفيف بايد «");
inline const QString kCardMinimumPrefix = QStringLiteral("به دليل وجود تخفيف نوع کارت «");
inline const QString kSameGoodsPrefix = QStringLiteral("سطر «");
inline const QString kSameGoodsMiddle = QStringLiteral("» و سطر «");
inline const QString kSameGoodsSuffix =
    QStringLiteral("» دو کالاي يکسان ولي با درصد تخفيف هاي متفاوت دارند، امکان ثبت وجود ندارد.");
inline const QString kSystemFreeGoods = QStringLiteral(" اشانتيون سيستمي");
inline const QString kFreeGoodsPrefix = QStringLiteral("كالاي اشانتيون باركد ”");
inline const QString kFreeGoodsMiddle = QStringLiteral("“ و عنوان ”");
inline const QString kFreeGoodsNoStock = QStringLiteral("“ موجودي ندارد.");
inline const QString kFreeGoodsCut =
    QStringLiteral("“ موجودي كمتر از مقدار اشانتيون داشت و به آن مقدار تغيير كرد.");
inline const QString kSameGoodsCaption = QStringLiteral("اشکال");
inline const QString kFreeGoodsCaption = QStringLiteral("اشكال");

// Column titles of flexPromotion.
inline const QStringList kPromotionTitles = {
    QStringLiteral("ش.ر"), QStringLiteral("جزء"),          QStringLiteral("اولويت"),
    QStringLiteral("شرح"), QStringLiteral("رديفهاي كالا"), QStringLiteral("رديفهاي اشانتيون")};

}  // namespace si::discounts

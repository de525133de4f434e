#pragma once
// The captions and messages of printing: the invoice, its lottery sheets, the customer's credit
// printout and the template chooser. Both the Arabic ك/ي and the Persian ک/ی occur; each text
// keeps its own.

#include <QString>

namespace si::print {

inline const QString kProblem = QStringLiteral("اشکال");        // Persian kaf
inline const QString kProblemArabic = QStringLiteral("اشكال");  // Arabic kaf
inline const QString kQuestion = QStringLiteral("پرسش");
inline const QString kNotice = QStringLiteral("اطلاع");
inline const QString kCreditCaption = QStringLiteral("وضعيت اعتبار مشتري: ");

inline const QString kNoPreviewRight =
    QStringLiteral("شما مجاز به پيش مشاهده چاپ فاکتور نميباشيد. به نگهدارنده سيستم مراجعه کنيد.");
inline const QString kNoPrintRight =
    QStringLiteral("شما مجاز به چاپ فاکتور نميباشيد. به نگهدارنده سيستم مراجعه کنيد.");
inline QString PrintLimitReached(int maximum) {
    return QStringLiteral("تعداد چاپ فاکتور به حداکثر مقدار خود «") + QString::number(maximum) +
           QStringLiteral("» رسيده است. چاپ مجدد ممکن نيست!");
}
// The text ends in a blank, and one more is put after it.
inline const QString kSecondCopyMissing = QStringLiteral("فايل 2 پيدا نشد. ") + QLatin1Char(' ');

inline const QString kNoTemplateChosen = QStringLiteral("قالب گزارش مشخص نيست.");
inline const QString kViewCaption = QStringLiteral("مشاهده ");
inline const QString kReportNotInstalled = QStringLiteral("ماژول چاپ گزارش نصب نشده است.");

inline const QString kNoLotteryRight = QStringLiteral(
    "شما مجاز به چاپ برگه قرعه كشي نميباشيد. به نگهدارنده سيستم مراجعه کنيد. نقش 90112");
inline QString LotteryReprintQuestion(int count) {
    return QStringLiteral("برگه قرعه كشي به تعداد «") + QString::number(count) +
           QStringLiteral("» چاپ شده است. آيا براي چاپ مجدد مطمئن هستيد؟");
}
inline QString LotteryReprintRefused(int count) {
    return QStringLiteral("برگه قرعه كشي به تعداد «") + QString::number(count) +
           QStringLiteral(
               "» چاپ شده است. چاپ مجدد نياز به نقش 90132 دارد لذا به نگهدارنده سيستم مراجعه "
               "كنيد!");
}
inline const QString kNoLotteryAmount = QStringLiteral(
    "مبلغ قرعه كشي پيكربندي نشده است. به نگهدارنده سيستم مراجعه نماييد. پارامتر 3389");
inline QString LotteryAmountNotPositive(const QString& value) {
    return QStringLiteral("مبلغ قرعه كشي ”") + value + QStringLiteral(" “ بايد عدد مثبت باشد!");
}
inline const QString kNoLotteryTemplate = QStringLiteral(
    "قالب چاپي قرعه كشي براي شما تعريف نشده است. به نگهدارنده سيستم مراجعه نماييد. پارامتر 3390");
inline const QString kNoLotteryMaximum = QStringLiteral(
    "سقف تعداد برگه هاي قرعه كشي به ازاء فاكتور, پيكربندي نشده است. به نگهدارنده سيستم مراجعه "
    "نماييد. پارامتر 3391");
inline QString LotteryMaximumNotPositive(const QString& value) {
    return QStringLiteral("سقف تعداد برگه هاي قرعه كشي ”") + value +
           QStringLiteral(" “ بايد عدد مثبت باشد!");
}
inline const QString kLotteryFileMissing =
    QStringLiteral("فايل چاپي قرعه كشي يافت نشد! پيكربندي 3390 ");
inline QString LotterySheetsQuestion(qint64 sheets) {
    return QStringLiteral("آيا مطمئنيد كه قصد چاپ ”") + QString::number(sheets) +
           QStringLiteral("“ برگه قرعه كشي داريد؟");
}
inline QString LotterySheetsCapped(int maximum) {
    return QStringLiteral("به دليل بيشتر شدن تعداد برگه هاي قرعه كشي از سقف آن (") +
           QString::number(maximum) + QStringLiteral("), تعداد برگه ها به اندازه سقف كاهش يافت!");
}

inline const QString kNoCustomerChosen = QStringLiteral("مشتري انتخاب نشده است.");
inline const QString kCustomerHasNoAccount = QStringLiteral("اين مشتري حساب ندارد.");

}  // namespace si::print

#include "payment/PosTexts.h"

#include <QHash>

namespace si {

QString BankResponseText(const QString& code) {
    static const QHash<QString, QString> texts{
        {QStringLiteral("1"), QStringLiteral("به صادركننده كارت مراجعه نماييد.")},
        {QStringLiteral("3"), QStringLiteral("پذيرنده كارت نامعتبر است.")},
        {QStringLiteral("5"), QStringLiteral("تراكنش نامعتبر است.")},
        {QStringLiteral("6"), QStringLiteral("خطاي داخل سوييچ صادركننده كارت")},
        {QStringLiteral("12"), QStringLiteral("رمز مورد نياز است.")},
        {QStringLiteral("13"), QStringLiteral("مبلغ نامعتبر است.")},
        {QStringLiteral("17"), QStringLiteral("تراكنش توسط كاربر لغو شد.")},
        {QStringLiteral("18"), QStringLiteral("در حال حاضر، ارايه سرويس امكانپذير نيست.")},
        {QStringLiteral("19"), QStringLiteral("تراكنش را دوباره انجام دهيد.")},
        {QStringLiteral("20"), QStringLiteral("سيستم دچار اشكال شده است.")},
        {QStringLiteral("33"), QStringLiteral("تاريخ انقضاي كارت گذشته است.")},
        {QStringLiteral("51"), QStringLiteral("موجودي كارت كافي نيست.")}};
    return texts.value(code, QStringLiteral("مشكل ارتباط با سرور بانك"));
}

QString TerminalStatusText(int status) {
    static const QHash<int, QString> texts{
        {101, QStringLiteral("اندازه پيغام از دستگاه كارتخوان نادرست تنظيم شده است.")},
        {104, QStringLiteral("مبلغ وارد شده در دستگاه كارتخوان نامعتبر است.")},
        {110, QStringLiteral("مشكل از پرينتر دستگاه كارتخوان")},
        {111, QStringLiteral("مشكل ارتباط با دستگاه كارتخوان")},
        {113, QStringLiteral("اشكال در نام درگاه تنظيم شده")},
        {114, QStringLiteral("كاربر از تراكنش منصرف شد.")},
        {124, QStringLiteral("لطفاَ كارت خود را در دستگاه كارتخوان بكشيد و از منوي مربوطه ”خريد“ "
                             "را انتخاب كنيد.")}};
    return texts.value(status, QString::number(status));
}

}  // namespace si

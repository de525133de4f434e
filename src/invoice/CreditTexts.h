#pragma once
// The messages of the credit checks, letter for letter as the clerks know them.

#include <QString>

namespace si::credit_texts {

inline const QString kProblem = QStringLiteral("اشکال");
inline const QString kWarning = QStringLiteral("هشدار");
inline const QString kError = QStringLiteral("خطا");

// Constraint of the customer's degree: subject + kCustomer + statistic + kThreshold + subject +
// kOpen + threshold + kExceeded.
inline const QString kCustomer = QStringLiteral(" مشتري مورد نظر ”");
inline const QString kThreshold = QStringLiteral("“ از آستانه ");
inline const QString kOpen = QStringLiteral(" ”");
inline const QString kExceeded = QStringLiteral("“ تجاوز كرده است و ثبت فاكتور ممكن نيست.");

inline const QString kReturnedChequeQty = QStringLiteral("تعداد چك برگشتي");
inline const QString kReturnedChequeValue = QStringLiteral("مبلغ چك برگشتي");
inline const QString kInvoicePerDayValue = QStringLiteral("مبلغ فاكتور در روز");
inline const QString kInvoicePerDayQty = QStringLiteral("تعداد فاكتور در روز");
inline const QString kSaleReturnValue = QStringLiteral("مبلغ برگشت از فروش");
inline const QString kSaleReturnQty = QStringLiteral("تعداد برگشت از فروش");
inline const QString kReturnedChequeAge = QStringLiteral("سن چك برگشتي");
inline const QString kNotPaidDocumentQty = QStringLiteral("تعداد مطالبات وصول نشده");
inline const QString kNotPaidDocumentValue = QStringLiteral("مبلغ مطالبات وصول نشده");
inline const QString kDebitAge = QStringLiteral("سند بدهي");
inline const QString kNotPaidInvoiceQty = QStringLiteral("تعداد فاكتورهاي وصول نشده");

// Credit and document credit shortfalls, one line each.
inline const QString kShortBy = QStringLiteral("مشتري مورد نظر به اندازه «");
inline const QString kNoCredit = QStringLiteral("» اعتبار ندارد.");
inline const QString kNoDocumentCredit = QStringLiteral("» اعتبار اسنادي ندارد.");
inline const QString kCreditLine = QStringLiteral("اعتبار اوليه و مازاد: ");
inline const QString kDocumentCreditLine = QStringLiteral("اعتبار اسنادي اوليه و مازاد: ");
inline const QString kNotCollectedLine = QStringLiteral("اسناد وصول نشده: ");
inline const QString kBalanceLine = QStringLiteral("مانده حساب باز: ");
inline const QString kOpenInvoicesLine = QStringLiteral("فاكتورهاي باز (بانضمام اين فاکتور): ");

// The promoter's outstanding sales.
inline const QString kPromoterAsk = QStringLiteral("مبالغ وصول نشده مربوط به اين بازارياب (");
inline const QString kPromoterAskEnd =
    QStringLiteral(") از آستانه ي مشخص شده وي بيشتر شده است. آيا ادامه مي دهيد؟");
inline const QString kPromoterRefuse = QStringLiteral("مبالغ وصول نشده مربوط به اين بازارياب ");
inline const QString kPromoterRefuseEnd = QStringLiteral(" از آستانه ي مشخص شده وي بيشتر شده است.");

inline const QString kDays = QStringLiteral(" روز");

}  // namespace si::credit_texts

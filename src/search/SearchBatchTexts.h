#pragma once
// The captions and messages of the commands on the search result. Both the Arabic ك/ي and the
// Persian ک/ی occur; each text keeps its own.

#include <QString>
#include <QStringList>

namespace si::batch {

inline const QString kProblemArabic = QStringLiteral("اشكال");
inline const QString kNotice = QStringLiteral("اطلاع");
inline const QString kNoExportRight = QStringLiteral("شما مجاز به انجام اين عمل نمي باشيد.");
inline const QString kPrintCaption = QStringLiteral(" چاپ ");

inline const QString kDeleteCaption = QStringLiteral("اطمينان از حذف فاکتورها");
inline const QString kDeleteQuestion = QStringLiteral(
    "در صورت ادامه اين فرآيند، تمامي فاكتورهاي موقتي كه در هيچ حواله توزيعي نيامده اند، به همراه "
    "سفارشهاي معطوف آنها حذف خواهند شد. آيا ادامه مي دهيد؟");

inline const QString kNothingToPrint = QStringLiteral("فاكتوري در نتيجه جستجو نيست که چاپ شود.");
inline const QString kNothingToExport =
    QStringLiteral("فاكتوري در نتيجه جستجو نيست که به صفحه گسترده برود.");
inline const QString kNothingToDelete = QStringLiteral("فاكتوري در نتيجه جستجو نيست که حذف شود.");

inline const QString kSpreadsheetName = QStringLiteral("فاکتورها.xlsx");
inline QString SpreadsheetNotWritten(const QString& file, const QString& reason) {
    return QStringLiteral("فايل «") + file + QStringLiteral("» نوشته نشد: ") + reason;
}

// The first numbers and how many more: a summary of a result of thousands stays on the screen.
inline QString IdList(const QList<qint64>& ids) {
    constexpr qsizetype kListed = 20;
    QStringList shown;
    for (qsizetype i = 0; i < ids.size() && i < kListed; ++i)
        shown << QString::number(ids[i]);
    QString text = shown.join(QStringLiteral("، "));
    if (ids.size() > kListed)
        text += QStringLiteral(" و «%1» فاكتور ديگر").arg(ids.size() - kListed);
    return text;
}

}  // namespace si::batch

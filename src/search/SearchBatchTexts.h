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

inline QString IdList(const QStringList& ids) {
    return ids.join(QStringLiteral("، "));
}

}  // namespace si::batch

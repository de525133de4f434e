#pragma once
// cmdChangeQty: the quantity of a line of a distribution sheet's invoice changed after the order,
// with its reason. The line keeps what was first ordered (InitialQty in InitialScaleID, recorded
// at the first change only) and the reason of the last change (ChangeReasonSequence), which the
// save writes back as it finds them. The new quantity takes the line's unit; a line discount
// given as an amount follows the quantity.
//
// Only a temporary invoice of a distribution sheet whose vehicle has not left is changed, and
// never in the store version, whose save does not keep the initial quantities. The line, the
// invoice's sums and the event are written in one transaction.

#include <QString>
#include <QVector>
#include <optional>

#include "common/Context.h"

namespace si {

// The reasons of a quantity change are those of editing a distribution sheet's invoice.
inline constexpr int kQtyChangeEventType = 90119;

inline const QString kChangeQtyNotDistribution =
    QStringLiteral("تغيير تعداد فقط براي فاكتورهاي حواله توزيع امكان پذير است.");
inline const QString kChangeQtyFinal = QStringLiteral(
    "اين فاكتور نهايي شده است. براي تغيير تعداد ابتدا آن را به حالت موقت برگردانيد.");
inline const QString kChangeQtyMoved = QStringLiteral(
    "وسيله نقليه مربوط به اين فاکتور حرکت کرده است. بنابراين امکان تغيير تعداد وجود ندارد.");
inline const QString kChangeQtyShop =
    QStringLiteral("در نسخه فروشگاهي امكان تغيير تعداد وجود ندارد.");
inline const QString kChangeQtyNoInvoice = QStringLiteral("فاكتور ذخيره شده اي انتخاب نشده است.");
inline const QString kChangeQtyNoLine = QStringLiteral("سطر انتخاب شده در فاكتور ذخيره نشده است.");
inline const QString kChangeQtyBadQty = QStringLiteral("تعداد جديد بايد عددي بزرگتر از صفر باشد.");
inline const QString kChangeQtySameQty = QStringLiteral("تعداد جديد با تعداد فعلي سطر برابر است.");
inline const QString kChangeQtyNoReason = QStringLiteral("علت تغيير تعداد انتخاب نشده است.");

struct QtyChangeReason {
    int sequence = 0;
    QString description;
};

// The stored line the command changes: as the save finds it, by barcode, unit and description.
struct QtyChangeLine {
    int invoiceId = -1;
    QString barcode;
    int scaleId = -1;
    QString description;
};

// The new quantity and the reason chosen in frmChangeQty.
struct QtyChange {
    double qty = 0;
    int reasonSequence = -1;
};

// The line's quantities as frmChangeQty shows them.
struct QtyChangeState {
    double qty = 0;
    std::optional<double> initialQty;
    std::optional<int> reasonSequence;
};

class ChangeQtyCommand {
public:
    explicit ChangeQtyCommand(Context& ctx) : ctx_(ctx) {}

    QVector<QtyChangeReason> reasons();
    // Why the invoice's quantities may not change; nullopt when they may.
    std::optional<QString> refusal(int invoiceId);
    // The stored line; nullopt when the invoice has no such line.
    std::optional<QtyChangeState> lineState(const QtyChangeLine& line);
    // Writes the change; false after the message of the refusal or the failure.
    bool change(const QtyChangeLine& line, const QtyChange& change);

private:
    std::optional<QString> refusalOf(const QtyChangeLine& line, const QtyChange& change);
    void write(const QtyChangeLine& line, const QtyChange& change);

    Context& ctx_;
};

}  // namespace si

#pragma once
// cmdDelete without its widgets: the right, the question, the time limit, the distribution
// checks and question, the reason (outside the store version), then DeleteInvoice in one
// transaction. Every question is asked and every check made before anything is written; the
// reason is written with the deletion event. The command line runs the same checks answering
// every question yes.

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

#include "common/Context.h"

namespace si {

class InvoiceDocument;

inline const QString kDeleteCaption = QStringLiteral("هشدار حذف");
inline const QString kDeleteQuestion = QStringLiteral("آيا براي حذف كردن فاكتور مطمئن هستيد؟");
inline const QString kDeleteAgeLimitPassed = QStringLiteral(
    "مدت زمان مجاز براي حذف فاکتور سپري شده است. بنابراين امکان حذف اين فاکتور وجود ندارد.");
inline const QString kDeleteDistributionReturned = QStringLiteral(
    "از روي حواله توزيع مربوط به اين فاکتور، يک برگشت از حواله ثبت شده است. بنابراين امکان حذف "
    "اين فاکتور وجود ندارد.");
inline const QString kDeleteVehicleMoved = QStringLiteral(
    "وسيله نقليه مربوط به اين فاکتور حرکت کرده است. بنابراين امکان حذف اين فاکتور وجود ندارد.");
inline const QString kDeleteDistributionCaption = QStringLiteral("اطمينان از حذف فاکتور");
inline const QString kDeleteDistributionQuestion = QStringLiteral(
    "ممکن است که به جاي استفاده از دکمه حذف فاکتور در فرم حواله توزيع، به اشتباه از اين دکمه "
    "استفاده کرده باشيد. آيا ادامه مي دهيد؟");
inline const QString kDeleteFailed =
    QStringLiteral("فاكتور حذف نشد و هيچ تغييري در اطلاعات داده نشد. علت: ");

struct DeleteReason {
    int sequence = 0;
    QString description;
};

// The reasons of a deletion (event 90102), in their order.
QVector<DeleteReason> DeleteReasons(Session& s);

// frmSelDeleteReason as the command sees it: the chosen reason's sequence, nullopt on Cancel.
class DeleteReasonChooser {
public:
    virtual ~DeleteReasonChooser() = default;
    virtual std::optional<int> chooseReason(const QVector<DeleteReason>& reasons) = 0;
};

// What the checks read of the invoice to delete.
struct InvoiceToDelete {
    int id = 0;
    QDate createDate;
    int distributionInvoiceId = -1;  // txtDistID; -1 when none
};
InvoiceToDelete InvoiceToDeleteOf(const InvoiceDocument& doc);
// The stored invoice; nullopt when there is none.
std::optional<InvoiceToDelete> StoredInvoiceToDelete(Session& s, int invoiceId);

class InvoiceDeletion {
public:
    explicit InvoiceDeletion(Context& ctx) : ctx_(ctx) {}

    // The form's frmSelDeleteReason; without one, a delete that needs a reason does not run.
    void setChooser(DeleteReasonChooser* chooser) { chooser_ = chooser; }

    // cmdDelete: true when the invoice was deleted. Refusals, questions answered No, a cancelled
    // reason and a failure (its message shown) change nothing and return false.
    bool cmdDelete_Click(const InvoiceToDelete& invoice);

    // The refusals that need no answer, the right first; nullopt when the delete may run.
    std::optional<QString> refusal(const InvoiceToDelete& invoice);
    // The reason is asked outside the store version (parameter 3).
    bool asksReason() const;
    // DeleteInvoice with the message of a failure; true when deleted.
    bool deleteNow(int invoiceId, std::optional<int> reasonSequence);

private:
    std::optional<QString> stateRefusal(const InvoiceToDelete& invoice);
    bool pastAgeLimit(const QDate& createDate);
    // false when the clerk cancelled; reason stays empty when none is asked.
    bool chooseReason(std::optional<int>& reason);

    Context& ctx_;
    DeleteReasonChooser* chooser_ = nullptr;
};

}  // namespace si

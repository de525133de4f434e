#pragma once
// The buttons of the invoice form that open another module's window about the invoice: the cash
// receipt and payment boxes, the group and general receipts, the invoice's accounting document and
// its sale assignment. Each creates its sibling by ProgID (SiblingLauncher); some first check a
// right or find the document to show.

#include <QString>
#include <QStringList>

#include "common/Context.h"
#include "common/Money.h"

namespace si {

class FormMainLogic;
class InvoiceDocument;

// What the launchers read of the invoice the form shows.
struct LaunchSubject {
    QString txtID;  // the computer number as the form shows it
    int customerId = -1;
    Money grandTotal;  // txtGrandTotalLock
    QString basePath;  // the suite's folder, read when the form loaded
};
LaunchSubject LaunchSubjectOf(const InvoiceDocument& doc);

inline const QString kNoAccountDocumentForInvoice =
    QStringLiteral("سند حسابداري عطف به اين فاكتور فروش كالا وجود ندارد.");
inline const QString kNoSaleAssignmentForInvoice =
    QStringLiteral("حواله فروشي از روي اين فاکتور فروش كالا صادر نشده است.");

class SiblingLaunchers {
public:
    explicit SiblingLaunchers(Context& ctx) : ctx_(ctx) {}

    // The controls that launch a sibling.
    static const QStringList& controls();
    // Runs the launcher of the control; false when the control launches none.
    bool run(const QString& control, const LaunchSubject& subject);

    void cmdBoxReceive_Click(const LaunchSubject& s);
    void cmdReceive_Click(const LaunchSubject& s);  // cmdRPDRecieve too
    void cmdRPDCashRec_Click(const LaunchSubject& s);
    void cmdRPDRecDiv_Click(const LaunchSubject& s);
    void cmdBoxReceiveGroup_Click(const LaunchSubject& s);
    void cmdRPDGenRec_Click(const LaunchSubject& s);
    void cmdAccTrans_Click(const LaunchSubject& s);
    void cmdAssignment_Click(const LaunchSubject& s);

private:
    bool refusedWithout(int right);
    Context& ctx_;
};

// The launchers as the form's commands.
void InstallLaunchers(FormMainLogic& form, SiblingLaunchers& launchers);

}  // namespace si

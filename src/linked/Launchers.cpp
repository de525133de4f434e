#include "linked/Launchers.h"

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/FormMainLogic.h"
#include "invoice/InvoiceDocument.h"
#include "linked/SiblingLauncher.h"

namespace si {

namespace {

const Sibling kBoxReceiveCash{QStringLiteral("comBoxReceiveCash.comBoxReceiveCash1"),
                              QStringLiteral("comBoxReceiveCash.ocx")};
const Sibling kBoxReceive{QStringLiteral("comBoxReceive.comBoxReceive1"),
                          QStringLiteral("comBoxReceive.ocx")};
const Sibling kBoxPayCash{QStringLiteral("comBoxPayCash.comBoxPayCash1"),
                          QStringLiteral("comBoxPayCash.ocx")};
const Sibling kBoxReceivePortion{QStringLiteral("comBoxReceivePortion.comBoxRecPortion"),
                                 QStringLiteral("comBoxReceivePortion.ocx")};
const Sibling kGroupReceipt{QStringLiteral("VORReceiveGroup.comBoxGroupRec"),
                            QStringLiteral("VORReceiveGroup.ocx")};
const Sibling kGeneralReceipt{QStringLiteral("comBoxPublicReceive.comBoxPublicRec"),
                              QStringLiteral("FerroRPDGeneralRec.ocx")};
const Sibling kAccountDocument{QStringLiteral("comAccountDoc.comAccountDoc1"),
                               QStringLiteral("comAccountDoc.ocx")};
const Sibling kSaleAssignment{QStringLiteral("comSaleAssignment.comSaleAssign"),
                              QStringLiteral("comSaleAssignment.ocx")};

// The account group of customers' accounts that general receipts credit.
constexpr int kReceiptAccountGroup = 356;

// The invoice number: the numeric value of the computer-number field.
int invoiceNumber(const LaunchSubject& s) {
    return ToInt32(Val(s.txtID));
}

SiblingCall clearShow() {
    return {{}, "ClearShow", {}};
}

}  // namespace

LaunchSubject LaunchSubjectOf(const InvoiceDocument& doc) {
    return {doc.txtID, doc.sltCustomer.ID(), doc.totals.GrandTotal, doc.basePath};
}

const QStringList& SiblingLaunchers::controls() {
    static const QStringList names = {
        QStringLiteral("cmdBoxReceive"), QStringLiteral("cmdReceive"),
        QStringLiteral("cmdRPDRecieve"), QStringLiteral("cmdRPDCashRec"),
        QStringLiteral("cmdRPDRecDiv"),  QStringLiteral("cmdBoxReceiveGroup"),
        QStringLiteral("cmdRPDGenRec"),  QStringLiteral("cmdAccTrans"),
        QStringLiteral("cmdAssignment")};
    return names;
}

bool SiblingLaunchers::run(const QString& control, const LaunchSubject& s) {
    using Handler = void (SiblingLaunchers::*)(const LaunchSubject&);
    static const QHash<QString, Handler> handlers = {
        {QStringLiteral("cmdBoxReceive"), &SiblingLaunchers::cmdBoxReceive_Click},
        {QStringLiteral("cmdReceive"), &SiblingLaunchers::cmdReceive_Click},
        {QStringLiteral("cmdRPDRecieve"), &SiblingLaunchers::cmdReceive_Click},
        {QStringLiteral("cmdRPDCashRec"), &SiblingLaunchers::cmdRPDCashRec_Click},
        {QStringLiteral("cmdRPDRecDiv"), &SiblingLaunchers::cmdRPDRecDiv_Click},
        {QStringLiteral("cmdBoxReceiveGroup"), &SiblingLaunchers::cmdBoxReceiveGroup_Click},
        {QStringLiteral("cmdRPDGenRec"), &SiblingLaunchers::cmdRPDGenRec_Click},
        {QStringLiteral("cmdAccTrans"), &SiblingLaunchers::cmdAccTrans_Click},
        {QStringLiteral("cmdAssignment"), &SiblingLaunchers::cmdAssignment_Click}};
    const auto it = handlers.constFind(control);
    if (it == handlers.constEnd()) return false;
    (this->*it.value())(s);
    return true;
}

bool SiblingLaunchers::refusedWithout(int right) {
    if (HasRight(ctx_, right)) return false;
    ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
    return true;
}

void SiblingLaunchers::cmdBoxReceive_Click(const LaunchSubject& s) {
    LaunchSibling(ctx_, s.basePath, kBoxReceiveCash, clearShow());
}

void SiblingLaunchers::cmdReceive_Click(const LaunchSubject& s) {
    LaunchSibling(ctx_, s.basePath, kBoxReceive, clearShow());
}

void SiblingLaunchers::cmdRPDCashRec_Click(const LaunchSubject& s) {
    LaunchSibling(ctx_, s.basePath, kBoxPayCash, clearShow());
}

void SiblingLaunchers::cmdRPDRecDiv_Click(const LaunchSubject& s) {
    LaunchSibling(ctx_, s.basePath, kBoxReceivePortion, clearShow());
}

void SiblingLaunchers::cmdBoxReceiveGroup_Click(const LaunchSubject& s) {
    SiblingCall c = clearShow();
    c.properties = {{"FormTypeID", FormType::SaleInvoice}, {"FormID", ToInt32(ToNumber(s.txtID))}};
    LaunchSibling(ctx_, s.basePath, kGroupReceipt, c);
}

void SiblingLaunchers::cmdRPDGenRec_Click(const LaunchSubject& s) {
    if (refusedWithout(Right::GeneralReceipt)) return;
    const int invoice = invoiceNumber(s);
    SiblingCall c{{{"SumValue", QVariant::fromValue(s.grandTotal)},
                   {"FormID", invoice},
                   {"FormTypeID", FormType::SaleInvoice}},
                  "View",
                  {invoice}};
    const QVariant account =
        ctx_.db().scalar(QStringLiteral("Select AccountID From tblAccountRelatedObjects Where "
                                        "AccountGroupID = ? And RelatedClassID=7 And "
                                        "RelatedObjectID = ? order by ID"),
                         {kReceiptAccountGroup, s.customerId});
    if (!account.isNull()) c.properties.push_back({"AccountID", account.toInt()});
    LaunchSibling(ctx_, s.basePath, kGeneralReceipt, c);
}

void SiblingLaunchers::cmdAccTrans_Click(const LaunchSubject& s) {
    if (refusedWithout(Right::AccountDocuments)) return;
    const QVariant document = ctx_.db().scalar(
        QStringLiteral("Select DocumentID from tblAccountDocumentDetail Where FormID = ? and "
                       "FormTypeID=901 order by ID"),
        {invoiceNumber(s)});
    if (document.isNull()) {
        ShowMessage(ctx_, kErrorCaption, kNoAccountDocumentForInvoice);
        return;
    }
    LaunchSibling(ctx_, s.basePath, kAccountDocument, {{}, "View", {document.toInt()}});
}

void SiblingLaunchers::cmdAssignment_Click(const LaunchSubject& s) {
    const QVariant assignment = ctx_.db().scalar(
        QStringLiteral("Select ID from tblSaleAssignment where SaleInvoiceID = ? order by ID"),
        {invoiceNumber(s)});
    if (assignment.isNull()) {
        ShowMessage(ctx_, kErrorCaption, kNoSaleAssignmentForInvoice);
        return;
    }
    LaunchSibling(ctx_, s.basePath, kSaleAssignment, {{}, "View", {assignment.toInt()}});
}

void InstallLaunchers(FormMainLogic& form, SiblingLaunchers& launchers) {
    for (const QString& control : SiblingLaunchers::controls())
        form.seams.linkedCommands[control] = [&form, &launchers, control] {
            launchers.run(control, LaunchSubjectOf(form.doc()));
        };
}

}  // namespace si

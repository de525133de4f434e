#include "posting/SaveLogic.h"

#include "common/DeferredMessages.h"
#include "common/Messages.h"
#include "invoice/InvoiceServices.h"
#include "posting/SaveRun.h"

namespace si {

namespace {

// What the writing changes in the form; put back when the transaction is rolled back, so that
// the clerk finds the form as it was before the click.
struct FormSnapshot {
    explicit FormSnapshot(const InvoiceDocument& d)
        : txtID(d.txtID),
          txtCode(d.txtCode),
          txtTime(d.txtTime),
          lblAccountIDVal(d.lblAccountIDVal),
          creatorEmployee(d.sltCreatorEmployee.ID()),
          formMode(d.FormMode) {}
    void restore(InvoiceDocument& d) const {
        d.txtID = txtID;
        d.txtCode = txtCode;
        d.txtTime = txtTime;
        d.lblAccountIDVal = lblAccountIDVal;
        if (d.sltCreatorEmployee.ID() != creatorEmployee)
            d.sltCreatorEmployee.setID(creatorEmployee);
        d.FormMode = formMode;
    }
    QString txtID, txtCode, txtTime, lblAccountIDVal;
    int creatorEmployee;
    int formMode;
};

// What the clerk reads in the message line after a save, instead of a box to close.
QString outcomeText(const InvoiceDocument& d, bool final) {
    if (!final)
        return QStringLiteral("فاكتور با شماره رايانه اي %1 به طور موقت ثبت شد.").arg(d.txtID);
    return QStringLiteral("فاكتور با شماره رايانه اي %1 و شماره تاييد شده %2 نهايي شد.")
        .arg(d.txtID, d.txtCode);
}

QString failureText(const QString& cause) {
    return QStringLiteral("ثبت فاكتور انجام نشد و هيچ تغييري در اطلاعات داده نشد. علت: ") + cause;
}

}  // namespace

SaveLogic::SaveLogic(InvoiceServices& services, SaveFront& front)
    : services_(services), front_(front) {}
SaveLogic::~SaveLogic() = default;

// A database error in the checks, the writing or the postings ends here: the transaction is
// rolled back by its destructor, the form gets back what the writing changed, and the clerk sees
// one message with the cause.
bool SaveLogic::SaveInvoice(bool IsFinal) {
    InvoiceDocument& doc = services_.doc;
    Context& ctx = services_.ctx;
    const FormSnapshot before(doc);
    SaveRun run(services_, front_, seams, IsFinal);
    QString cause;
    try {
        if (!run.RunChecks()) return false;
        // One writer at a time: the highest code is read and the new one written before any other
        // workstation can read the same maximum.
        {
            const DeferredMessages afterTheLock(*ctx.components);
            Transaction t = ctx.db().writerTransaction();
            run.WriteAndPost(afterHeaderWritten);
            t.commit();
        }
        run.FinishForm();
        doc.lblErrMessage = outcomeText(doc, IsFinal);
        return true;
    } catch (const SqlError& e) {
        cause = e.driverText().trimmed();
    } catch (const std::exception& e) {
        cause = QString::fromUtf8(e.what());
    }
    before.restore(doc);
    ShowMessage(ctx, kErrorCaption, failureText(cause));
    Q_EMIT doc.headerChanged();
    return false;
}

}  // namespace si

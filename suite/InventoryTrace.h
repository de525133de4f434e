#pragma once
// vorInvTrace.vorInvTracePpt1: the inventory module's trace control as the sale invoice uses it.
// A goods line is traced when trace rows (serial or batch properties) were recorded for it in
// tblSaleInvoiceDetailTrace, for example when its goods came over from a dispatch. The control
// checks that a line's traced quantity does not exceed the line, keeps the trace rows in the
// line's order when the invoice is written again, links the invoice with its dispatch, and hands
// a dispatch's trace rows over to the invoice made from it.
//
// It works on the caller's connection (the "Session" property), so that what it writes belongs
// to the caller's transaction. One instance serves one save: the traced quantities of the
// invoice are read once, at the first check.

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace si {
class Session;
}

namespace si::suite {

class InventoryTrace : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariant Session READ sessionHandle WRITE setSessionHandle)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    QVariant sessionHandle() const { return QVariant::fromValue(static_cast<void*>(session_)); }
    void setSessionHandle(const QVariant& handle);
    QString errorMessage() const { return error_; }

    // False, with ErrorMessage set, when the line's traced quantity is more than its quantity.
    Q_INVOKABLE bool CheckRow(int formTypeId, int formId, int inventoryId, QDate date,
                              QString barcode, double qty, int scaleId);
    // The trace rows follow their lines: those of a traced goods and unit take the row number of
    // its last line. The three lists hold one entry a line, in the lines' order.
    Q_INVOKABLE void SaveRows(int formTypeId, int formId, QStringList barcodes, QList<int> scaleIds,
                              QList<int> rows);
    // Records the link between two forms once.
    Q_INVOKABLE void RelateForms(int referenceTypeId, int referenceId, int relatedTypeId,
                                 int relatedId);
    // The trace rows of a form handed over to another: a dispatch's (802) to the sale invoice
    // made from it (901), one invoice trace row per dispatch trace row. False, with
    // ErrorMessage set, for a pair of forms it does not hand over.
    Q_INVOKABLE bool CopyTraces(int fromTypeId, int fromId, int toTypeId, int toId);
    // Records a trace row for a line (the trace entry of the inventory module).
    Q_INVOKABLE void AddTrace(int formId, QString barcode, int scaleId, int property1, double qty);

private:
    static QString key(const QString& barcode, int scaleId);
    const QHash<QString, double>& tracedOf(int formId);

    si::Session* session_ = nullptr;
    QString error_;
    int loadedFor_ = 0;
    QHash<QString, double> traced_;
};

}  // namespace si::suite

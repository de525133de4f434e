#pragma once
// comSaleInvoice1: the control the host places on its window. The host sets the session through
// the properties and calls an entry method; every entry method copies the properties into the
// context (SetUserInfo), opens the session anew and only then opens a form. The invoice form's
// four events are raised again to the host with the same arguments; PrintByDotNet's are
// references, so what the host writes into them reaches the form.
//
// myFrm is the one relayed form: a second View leaves the first form open but no longer relayed.
// The control owns every form it opened until the form closes; then its events are no longer
// relayed and it is released (deleted once the event that closed it has been handled), so a host
// that opens and closes forms all day does not grow.

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "common/Context.h"
#include "component/PropertyBag.h"

class QFrame;
class QLabel;
class QPushButton;

namespace si {

class FormMain;
class FormPosConfig;
class FormSearch;
class InvoiceModule;
class InvoiceResultModel;
class InvoiceResultView;
enum class InvoiceList;

class comSaleInvoice1 : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString DataSource READ DataSource WRITE setDataSource)
    Q_PROPERTY(QString UserName READ UserName WRITE setUserName)
    Q_PROPERTY(QVariant IsInvoice READ IsInvoice WRITE setIsInvoice)
    Q_PROPERTY(QString OLEConnectionString READ OLEConnectionString WRITE setOLEConnectionString)
    Q_PROPERTY(short UserID READ UserID WRITE setUserID)
    Q_PROPERTY(short PositionID READ PositionID WRITE setPositionID)
    Q_PROPERTY(int AccPeriodSpecID READ AccPeriodSpecID WRITE setAccPeriodSpecID)
    Q_PROPERTY(short EmployeeID READ EmployeeID WRITE setEmployeeID)
    Q_PROPERTY(int ID READ ID WRITE setID)
    Q_PROPERTY(QString WhereClause READ WhereClause WRITE setWhereClause)

public:
    comSaleInvoice1(ComponentRegistry& components, const ProcedureRegistry& procedures,
                    QWidget* parent = nullptr);
    ~comSaleInvoice1() override;

    // Property bag: a new instance, a restored one, and saving.
    void InitProperties();
    void ReadProperties(PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QString DataSource() const { return dataSource_; }
    QString UserName() const { return userName_; }
    QVariant IsInvoice() const { return isInvoice_; }
    QString OLEConnectionString() const { return connection_; }
    short UserID() const { return userId_; }
    short PositionID() const { return positionId_; }
    int AccPeriodSpecID() const { return accPeriodSpecId_; }
    short EmployeeID() const { return employeeId_; }
    int ID() const { return id_; }
    QString WhereClause() const { return whereClause_; }
    void setDataSource(const QString& v);
    void setUserName(const QString& v);
    void setIsInvoice(const QVariant& v);
    void setOLEConnectionString(const QString& v);
    void setUserID(short v);
    void setPositionID(short v);
    void setAccPeriodSpecID(int v);
    void setEmployeeID(short v);
    void setID(int v);
    void setWhereClause(const QString& v);

    // The interface, in its order.
    bool View(int& CSInvoiceID);
    void SetUserInfo();
    bool ClearShow();
    bool SearchInvoice();
    QString SearchNGetInvoices();
    bool UnloadInvoice();
    QVariant ViewTempDocs();
    QVariant ViewFinalDocs();
    void DoSort(short Current, short flexSortCol);
    bool SaveAccDocAgain(QString& FromDate, QString& ToDate);
    // The user's card terminals and this workstation's choice among them (FormPosConfig).
    void PosSetting();

    // The form the events are relayed from; forms opened earlier stay open. None once it closed.
    FormMain* myFrm() const { return myFrm_; }
    // Forms opened and not closed.
    int openFormCount() const;
    Context& context() { return ctx_; }
    // Shows the terminal configuration, modal; tests work it here instead.
    std::function<void(FormPosConfig&)> runPosSetting;
    // A stand-in for the search form that names one invoice (0 for none); unset, the form runs.
    std::function<int()> searchDialog;
    // Runs the search form, modal, on screen by default; tests work it here. Returns the chosen
    // invoice's ID when browsing, the picked IDs joined by "," when picking.
    std::function<QString(FormSearch&, bool picking)> runSearchForm;
    FormSearch* searchForm();
    // The list panel's rows.
    InvoiceResultModel& listModel() { return *listModel_; }
    bool batchCommandsShown() const { return batchCommands_; }
    void cmdSelectAll();
    void cmdSelectNone();
    void cmdSelectInverse();
    // Batch final registration of the marked temp invoices; the number registered.
    int cmdFinalSave();
    // Shows forms on screen; tests switch it off.
    bool showForms = true;

Q_SIGNALS:
    void CreateNewRelationship(int FormTypeID, int FormID);
    void ShowRelationships(int FormTypeID, int FormID);
    void SendSMS(const QString& inCellPhone, const QString& inMessage);
    void PrintByDotNet(QString& outTemplateFileName, QString& outOLEConnectionString,
                       QString& outFormulas, QString& outSQLQuery, bool& DoPreview);
    // The container's property-change notification, with the property's name.
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class OpenedForm;
    void openSessionForEntry();
    FormMain* newRelayedForm();
    // A new relayed form shown by `show`; a form that fails to show is discarded.
    bool openForm(const std::function<bool(FormMain&)>& show);
    void relay(FormMain* form);
    void releaseForm(FormMain* form);
    void layoutPanel();
    QString chooseInvoices(bool picking);
    QString runSearch(bool picking);
    void viewList(InvoiceList list);
    void showBatchCommands(bool shown);
    bool markingAllowed();
    void onListRowClicked(int row);

    ComponentRegistry& components_;
    const ProcedureRegistry& procedures_;
    Context ctx_;

    QString dataSource_;
    QString userName_;
    QVariant isInvoice_;
    QString connection_;
    short userId_ = 0;
    short positionId_ = 0;
    int accPeriodSpecId_ = 0;
    short employeeId_ = 0;
    int id_ = 0;
    QString whereClause_;

    std::vector<std::unique_ptr<OpenedForm>> forms_;
    // Closed forms waiting for their deletion.
    std::vector<QPointer<QObject>> released_;
    FormMain* myFrm_ = nullptr;

    QFrame* FrmCaption_ = nullptr;
    std::unique_ptr<InvoiceResultModel> listModel_;
    InvoiceResultView* flex_ = nullptr;
    bool batchCommands_ = false;
    std::unique_ptr<FormSearch> searchForm_;
    QPushButton* cmdSelectAll_ = nullptr;
    QPushButton* cmdSelectNone_ = nullptr;
    QPushButton* cmdSelectInverse_ = nullptr;
    QPushButton* cmdFinalSave_ = nullptr;
};

}  // namespace si

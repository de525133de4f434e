#pragma once
// The invoice header: filling its look-ups (initialize), loading a stored invoice (FillData), the
// defaults of a new invoice (FillDefaults), and the change handlers of its fields. Works on the
// InvoiceDocument only; a handler fired "as if the clerk changed the field" is the selector's
// changed() signal, so the order of FillData decides which values win.

#include <QObject>
#include <optional>

#include "invoice/InvoiceServices.h"

namespace si {

// The accounts of an invoice type, with the fallbacks of a missing deduction or master-discount
// account; nullopt when the type is not stored.
std::optional<InvoiceTypeAccounts> ReadInvoiceTypeAccounts(Session& s, int typeId);

class HeaderLogic : public QObject {
    Q_OBJECT
public:
    explicit HeaderLogic(InvoiceServices& services, QObject* parent = nullptr);

    // Configures the header's look-up fields and lists (form load).
    void initialize();
    // Loads the stored invoice; false when no row exists.
    bool FillData(int invoiceId);
    void FillDefaults();

    // txtCode for a stored Code: the number, "ندارد" for -1, empty for NULL.
    static QString codeText(const QVariant& code);
    bool CheckUserInvoiceTypeRight(int userId, int invoiceType);
    int GetPreConditionClearDays(int preCondition);
    int GetCustomerIntroductionType(int organization);
    bool TypeGeneratesSaleAssignment(int invoiceType);
    // Selects the first entry (by ID) of a selector's list within its filter.
    void setTopID(SelectorModel& selector);

    // Change handlers.
    void sltCustomer_Change();
    void sltInventory_Change();
    void sltType_Change();
    void sltBranch_Change();
    void sltObject1_Change();
    void sltObject2_Change();
    void sltPromoter_Change();
    void sltPreCond_Change();
    void datCreateDate_Change();
    // A date typed into datCreateDate: refused with the bounds' message outside the active
    // accounting period (the field keeps its date), otherwise taken with its change handler.
    bool SetCreateDate(const QDate& date);
    void txtLoanExpire_Change();
    void chkCheckEchantillon_Click();
    void chkIsFormal_Click();
    // Commands and keys of the header.
    void cmdCalcAvgDate_Click();
    void txtCardNo_Enter();
    void lblCreatorEmployee_Click();
    void lblPromoter_Click();
    void LoadLastInvoiceOfCustomer();

Q_SIGNALS:
    // The goods picker follows the inventory.
    void inventoryChosen(int inventoryId);
    // A quantity was cut to the stock while loading.
    void stockCutOnLoad();

private:
    void configure(SelectorModel& s, const char* major, const char* minor, const QString& caption);
    SqlCondition positionCustomersCondition() const;
    void loadRecord(const Row& r);
    void loadRecordTail(const Row& r);
    void loadAfterRecord(const Row& record);
    void loadDocumentLabel(const Row& record);
    void loadMessages();
    void loadTypeAccounts(int type);
    void configureObjectSelectors();
    void fillPeopleFromPaths(int customer);
    void takePricingMethodFrom(const QString& sql, int id);
    void copyLastInvoice(const Row& r);
    bool inEntryMode() const;
    int customerOrObject() const;
    void selectByCard(SelectorModel& selector, const QString& notFound);

    InvoiceServices& services_;
    Context& ctx_;
    InvoiceDocument& doc_;
};

}  // namespace si

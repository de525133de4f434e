#pragma once
// What the search form does without its widgets: the look-ups and lists of its filters, the
// search over the values the form holds, the result and its marks, and the picked invoices.

#include <QObject>
#include <QPair>
#include <map>
#include <memory>

#include "common/Context.h"
#include "controls/SelectorModel.h"
#include "search/InvoiceResultModel.h"
#include "search/SearchFilters.h"

namespace si {

using ListItems = QVector<QPair<QString, int>>;  // shown text, item data

class SearchFormLogic : public QObject {
    Q_OBJECT
public:
    explicit SearchFormLogic(Context& ctx, QObject* parent = nullptr);

    // Look-ups configured, lists read, filters and result cleared.
    void InitializeSearch();
    void ClearForm();
    // Runs the search over the values; the look-ups' IDs are added to them here.
    void cmdSearch(SearchValues values);

    // The look-up behind a control (sltCustomer, gmpBranch, mptContract, ...).
    SelectorModel& selector(const QString& control);
    const std::map<QString, std::unique_ptr<SelectorModel>>& selectors() const {
        return selectors_;
    }
    const ListItems& invoiceTypes() const { return invoiceTypes_; }
    const ListItems& preconditions() const { return preconditions_; }
    InvoiceResultModel& result() { return result_; }
    // The marked invoices' IDs joined by ",", as picking hands them back.
    QString pickedIds();

Q_SIGNALS:
    void cleared();

private:
    void configureLookups();
    SelectorModel& lookup(const char* control, const char* major, const char* minor,
                          const QString& caption);
    ListItems readList(const QString& table);

    Context& ctx_;
    std::map<QString, std::unique_ptr<SelectorModel>> selectors_;
    ListItems invoiceTypes_;
    ListItems preconditions_;
    InvoiceResultModel result_;
};

}  // namespace si

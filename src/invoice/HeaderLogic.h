#pragma once
// The invoice header: filling its look-ups (initialize), loading a stored invoice into it
// (FillData), the defaults of a new invoice (FillDefaults), and the change handlers of its fields.
// Works on the InvoiceDocument only.

#include <QObject>

#include "invoice/InvoiceServices.h"

namespace si {

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

private:
    void configure(SelectorModel& s, const char* major, const char* minor, const QString& caption);
    void loadRecord(const Row& r);
    void loadMessages();

    InvoiceServices& services_;
    Context& ctx_;
    InvoiceDocument& doc_;
};

}  // namespace si

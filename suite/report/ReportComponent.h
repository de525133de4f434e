#pragma once
// comCrystalReport.comCrystalRpt: the report component the invoice form, the cash-turn contents
// and the lottery print through. It is given a template file, the connection string, numbered
// formulas ("name=value", a text value between single quotes) and the selection text, then
// started with the preview flag:
//   - a template of our own format (see README, "Report templates") is rendered with Qt: on the
//     screen in a print preview (preview 1 or Destination 0), to the system's printer
//     (Destination 1) or to a PDF file (Destination 2, PrintFileName);
//   - a template in any other format (an old .rpt report) is handed to the host through
//     PrintByDotNet with the same values, as the component always did for the host's engine.
//
// The detail band reads the invoice's lines by the invoice's ID (formula fmlSLSInvoiceID, or the
// selection text "{tblSaleInvoice.ID}=N").
//
// The template is read and rendered by the engine in suite/report (ReportTemplate, ReportData,
// ReportLayout, ReportRender); the component only picks the output and keeps the connection.

#include <QMap>
#include <QObject>
#include <QPrinterInfo>
#include <QString>
#include <functional>
#include <memory>

class QPrintPreviewDialog;

namespace si {
class Session;
}

namespace si::suite {

namespace report {
struct ReportTemplate;
struct ReportContent;
}  // namespace report

class ReportComponent : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ReportFileName MEMBER reportFileName_)
    Q_PROPERTY(QString Connect MEMBER connect_)
    Q_PROPERTY(QString SelectionFormula MEMBER selectionFormula_)
    Q_PROPERTY(int Destination MEMBER destination_)  // 0 screen, 1 printer, 2 PDF file
    Q_PROPERTY(QString PrintFileName MEMBER printFileName_)
    Q_PROPERTY(int CopiesToPrinter MEMBER copies_)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    ReportComponent();
    ~ReportComponent() override;

    // Formula number n (from 1) set to "name=value"; an empty text clears it.
    Q_INVOKABLE void SetFormula(int number, const QString& item);
    Q_INVOKABLE void ClearFormulas();
    // Starts the output; 1 previews on the screen whatever the destination. False with
    // ErrorMessage when nothing was output (a missing or unreadable template, no printer).
    Q_INVOKABLE bool PrintReport(int preview);

    QString errorMessage() const { return error_; }
    const QMap<int, QString>& formulas() const { return formulas_; }

    // Tests: called with the preview instead of exec(), so it can be looked at without a modal
    // loop.
    std::function<void(QPrintPreviewDialog&)> showPreview;
    // The printer a print goes to; the system's default printer unless replaced (tests).
    std::function<QPrinterInfo()> defaultPrinter;

Q_SIGNALS:
    void PrintByDotNet(QString& outTemplateFileName, QString& outOLEConnectionString,
                       QString& outFormulas, QString& outSQLQuery, bool& DoPreview);

private:
    bool output(bool onScreen);
    void handToHost(bool onScreen);
    bool preview(const report::ReportTemplate& tmpl, const report::ReportContent& content);
    bool print(const report::ReportTemplate& tmpl, const report::ReportContent& content);
    Session& session();

    QString reportFileName_, connect_, selectionFormula_, printFileName_, error_;
    int destination_ = 1;
    int copies_ = 1;
    QMap<int, QString> formulas_;
    std::unique_ptr<Session> session_;
    QString sessionConnect_;  // the connection string session_ was opened from
};

}  // namespace si::suite

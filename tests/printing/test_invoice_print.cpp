// The print routine of cmdView and cmdPrint: rights, the limit of prints, the count, the template
// (chosen, or a shop's first), the base path, the selection of a "SplitRow" template, a shop's
// second copy, the component missing, and the hand-over to the host.

#include "PrintingTestSupport.h"
#include "printing/PrintTexts.h"

namespace si::test {
namespace {

class InvoicePrintTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        invoiceTemplate = inFolder(QStringLiteral("SaleInvoice.xml"));
        addTemplate(TemplateFormType::SaleInvoice, invoiceTemplate);
        id = storedInvoice();
    }
    QString invoiceTemplate;
    int id = -1;
};

TEST_P(InvoicePrintTest, PreviewAndPrintNeedTheirRights) {
    asClerk({Right::PrintInvoice});
    messages.clear();
    EXPECT_FALSE(printing().Print(true));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, print::kProblem);
    EXPECT_EQ(messages.last().text, print::kNoPreviewRight);
    EXPECT_TRUE(printing().Print(false));

    asClerk({Right::PreviewInvoice});
    messages.clear();
    EXPECT_FALSE(printing().Print(false));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, print::kNoPrintRight);
    EXPECT_TRUE(printing().Print(true));
    EXPECT_EQ(report->outputs.size(), 2u);
    EXPECT_EQ(storedPrintCount(id), 2);
}

// At the maximum only printing is refused; a preview is still counted.
TEST_P(InvoicePrintTest, TheMaximumStopsPrintingButNotPreview) {
    useParameter(P::MaxPrintCount, QStringLiteral("3"));
    db().exec(QStringLiteral("update tblSaleInvoice set PrintCount = 3 where ID = ?"), {id});
    messages.clear();
    EXPECT_FALSE(printing().Print(false));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(
        messages.last().text,
        QStringLiteral("تعداد چاپ فاکتور به حداکثر مقدار خود «3» رسيده است. چاپ مجدد ممکن نيست!"));
    EXPECT_TRUE(report->outputs.empty());
    EXPECT_EQ(storedPrintCount(id), 3);

    EXPECT_TRUE(printing().Print(true));
    EXPECT_EQ(storedPrintCount(id), 4);
    EXPECT_EQ(form->doc().txtPrintCount, QStringLiteral("4"));
    EXPECT_EQ(report->last().preview, 1);
    EXPECT_EQ(report->last().destination, 0);

    db().exec(QStringLiteral("update tblSaleInvoice set PrintCount = 2 where ID = ?"), {id});
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(report->last().preview, 0);
    EXPECT_EQ(report->last().destination, 1);
    EXPECT_EQ(storedPrintCount(id), 3);
}

// The command's own path: the form's button, the count shown on the form.
TEST_P(InvoicePrintTest, TheButtonsPrintAndShowTheCount) {
    ui.refreshes = 0;
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdView")));
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdPrint")));
    ASSERT_EQ(report->outputs.size(), 2u);
    EXPECT_EQ(report->outputs[0].preview, 1);
    EXPECT_EQ(report->outputs[1].preview, 0);
    EXPECT_EQ(report->last().file, invoiceTemplate);
    EXPECT_EQ(report->last().connect, ctx.globals.CurrentConnectionString);
    EXPECT_EQ(form->doc().txtPrintCount, QStringLiteral("2"));
    EXPECT_GE(ui.refreshes, 2);
}

TEST_P(InvoicePrintTest, ASplitRowTemplateSelectsTheInvoice) {
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(report->last().selection, QString());
    const QString split = inFolder(QStringLiteral("SaleInvoiceSplitRow.xml"));
    db().exec(QStringLiteral("update tblZelorReportTemplate set FilePath = ?"), {split});
    writeTemplateFile(split);
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(report->last().file, split);
    EXPECT_EQ(report->last().selection,
              QStringLiteral("{tblSaleInvoice.ID}=") + QString::number(id));
}

// A path that names no file is taken under the installation's base path; one missing there too
// is still handed over, for the component to report.
TEST_P(InvoicePrintTest, APathWithoutAFileIsTakenUnderTheBasePath) {
    db().exec(QStringLiteral("insert into tblZelorCompany (Name, BasePath, IsActive) values "
                             "('شركت', ?, 1)"),
              {folder.path() + QLatin1Char('/')});
    writeTemplateFile(inFolder(QStringLiteral("Reports/Invoice.xml")));
    db().exec(QStringLiteral("update tblZelorReportTemplate set FilePath = ?"),
              {QStringLiteral("Reports/Invoice.xml")});
    installSave();
    form->ViewInvoice(id);
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(report->last().file, inFolder(QStringLiteral("Reports/Invoice.xml")));
    db().exec(QStringLiteral("update tblZelorReportTemplate set FilePath = ?"),
              {QStringLiteral("Reports/Gone.xml")});
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(report->last().file, inFolder(QStringLiteral("Reports/Gone.xml")));
}

// Outside a shop both print and preview let the clerk choose; a shop's print takes the first
// template by ID without asking, its preview asks.
TEST_P(InvoicePrintTest, AShopPrintsWithItsFirstTemplateWithoutAsking) {
    RecordingChooser chooser(ctx);
    printing().setChooser(&chooser);
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(chooser.chooses, 1);
    EXPECT_EQ(chooser.formType, TemplateFormType::SaleInvoice);
    EXPECT_EQ(chooser.buttonCaption, print::kViewCaption);

    const QString second = inFolder(QStringLiteral("Second.xml"));
    addTemplate(TemplateFormType::SaleInvoice, second, QStringLiteral("دوم"), -5);
    useParameter(P::ShopMode, QStringLiteral("1"));
    chooser.chooses = 0;
    EXPECT_TRUE(printing().Print(false));
    EXPECT_EQ(chooser.chooses, 0);
    EXPECT_EQ(report->last().file, invoiceTemplate);  // the first by ID, whatever its sequence
    EXPECT_TRUE(printing().Print(true));
    EXPECT_EQ(chooser.chooses, 1);
    EXPECT_EQ(report->last().file, second);  // the chooser lists by sequence
}

TEST_P(InvoicePrintTest, NoTemplateOrNoChoicePrintsNothing) {
    RecordingChooser chooser(ctx);
    printing().setChooser(&chooser);
    db().exec(QStringLiteral("delete from tblZelorReportTemplate"));
    EXPECT_FALSE(printing().Print(false));
    EXPECT_EQ(chooser.chooses, 0);
    useParameter(P::ShopMode, QStringLiteral("1"));
    EXPECT_FALSE(printing().Print(false));
    EXPECT_TRUE(report->outputs.empty());
    EXPECT_EQ(storedPrintCount(id), 0);
}

// A shop with parameter 908 prints a second copy with the template named with "2"; without that
// file it says so and the first copy stands.
TEST_P(InvoicePrintTest, AShopsSecondCopy) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    useParameter(P::ShopAltTemplate, QStringLiteral("1"));
    messages.clear();
    EXPECT_TRUE(printing().Print(false));
    ASSERT_EQ(report->outputs.size(), 1u);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("فايل 2 پيدا نشد.  "));

    writeTemplateFile(inFolder(QStringLiteral("SaleInvoice2.xml")));
    messages.clear();
    EXPECT_TRUE(printing().Print(false));
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(report->outputs.size(), 3u);
    EXPECT_EQ(report->outputs[1].file, invoiceTemplate);
    EXPECT_EQ(report->outputs[2].file, inFolder(QStringLiteral("SaleInvoice2.xml")));
    EXPECT_EQ(report->outputs[2].formulas, report->outputs[1].formulas);
    EXPECT_EQ(report->outputs[2].preview, 0);
    EXPECT_EQ(storedPrintCount(id), 2);  // one count per print, the copy included

    EXPECT_TRUE(printing().Print(true));  // a preview has no second copy
    EXPECT_EQ(report->outputs.size(), 4u);
}

// Without the component nothing is counted and the clerk is told.
TEST_P(InvoicePrintTest, WithoutTheComponentNothingIsCounted) {
    components.remove(kReportProgId);
    messages.clear();
    EXPECT_FALSE(printing().Print(false));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, print::kReportNotInstalled);
    EXPECT_EQ(storedPrintCount(id), 0);
}

// A component that outputs nothing reports why.
TEST_P(InvoicePrintTest, TheComponentsFailureIsShown) {
    report->failWith = QStringLiteral("چاپگري پيدا نشد.");
    messages.clear();
    EXPECT_FALSE(printing().Print(false));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("چاپگري پيدا نشد."));
}

// A template the component does not render itself reaches the form's PrintByDotNet with the
// same values.
TEST_P(InvoicePrintTest, AnOldTemplateIsHandedToTheHost) {
    const QString old = inFolder(QStringLiteral("SaleInvoice.rpt"));
    writeTemplateFile(old);
    db().exec(QStringLiteral("update tblZelorReportTemplate set FilePath = ?"), {old});
    QString handed, formulas;
    bool preview = false;
    QObject::connect(form.get(), &FormMainLogic::PrintByDotNet, form.get(),
                     [&](QString& file, QString&, QString& list, QString&, bool& doPreview) {
                         handed = file;
                         formulas = list;
                         preview = doPreview;
                     });
    EXPECT_TRUE(printing().Print(true));
    EXPECT_EQ(handed, old);
    EXPECT_TRUE(formulas.startsWith(QStringLiteral("fmlSLSInvoiceID=") + QString::number(id) +
                                    QStringLiteral("&fmlID=")));
    EXPECT_TRUE(preview);
}

// F10 saves finally and then prints the saved invoice.
TEST_P(InvoicePrintTest, F10PrintsAfterTheFinalSave) {
    newInvoice(7000);
    form->RefreshTimer_Timer();
    messages.alwaysAnswer(false);
    ASSERT_TRUE(form->RouteKeys(Qt::Key_F10, Qt::NoModifier));
    const int saved = savedID();
    ASSERT_TRUE(storedCode(saved).isValid() && !storedCode(saved).isNull())
        << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(report->outputs.size(), 1u);
    EXPECT_EQ(report->last().preview, 0);
    EXPECT_EQ(ReportLog::value(report->last(), QStringLiteral("fmlID")), QString::number(saved));
    EXPECT_EQ(storedPrintCount(saved), 1);
}

SI_INSTANTIATE_BACKENDS(InvoicePrintTest);

}  // namespace
}  // namespace si::test

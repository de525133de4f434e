// frmReport, the template chooser: its list by sequence, the chosen template's path, and its
// message when nothing is selected.

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "PrintingTestSupport.h"
#include "printing/PrintTexts.h"
#include "printing/ui/FrmReport.h"

namespace si::test {
namespace {

class ReportChooserTest : public PrintingTest {};

TEST_P(ReportChooserTest, TheChosenTemplatesPath) {
    const int first = addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("A.xml")),
                                  QStringLiteral("الف"), 2);
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("B.xml")),
                QStringLiteral("ب"), 1);
    addTemplate(TemplateFormType::CashContents, inFolder(QStringLiteral("C.xml")),
                QStringLiteral("ج"), 0);
    FrmReport chooser(ctx);
    ASSERT_TRUE(chooser.fill(TemplateFormType::SaleInvoice));
    auto* list = chooser.findChild<QComboBox*>(QStringLiteral("cmbReport"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("ب"));
    QTimer::singleShot(0, &chooser, [&chooser, list] {
        EXPECT_EQ(chooser.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->text(),
                  print::kViewCaption);
        list->setCurrentIndex(1);
        QTest::mouseClick(chooser.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    EXPECT_EQ(chooser.choose(print::kViewCaption), inFolder(QStringLiteral("A.xml")));
    EXPECT_EQ(chooser.chosenTemplateId(), first);
    // A second fill lists afresh, without the first list's entries.
    ASSERT_TRUE(chooser.fill(TemplateFormType::SaleInvoice));
    EXPECT_EQ(list->count(), 2);
}

TEST_P(ReportChooserTest, NothingSelectedIsSaidAndTheFormStays) {
    FrmReport chooser(ctx);
    EXPECT_FALSE(chooser.fill(TemplateFormType::SaleInvoice));
    QTimer::singleShot(0, &chooser, [this, &chooser] {
        messages.clear();
        chooser.cmdPrint_Click();
        EXPECT_TRUE(chooser.isVisible());
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
        EXPECT_EQ(messages.last().text, QStringLiteral("قالب گزارش مشخص نيست."));
        chooser.reject();
    });
    EXPECT_EQ(chooser.choose(print::kViewCaption), QString());
}

// Without a form the given template is taken when it is listed, else the first; one not of the
// form type is refused with the chooser's message.
TEST_P(ReportChooserTest, AJobWithoutAFormTakesTheGivenOrTheFirst) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("A.xml")),
                QStringLiteral("الف"), 1);
    const int second = addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("B.xml")),
                                   QStringLiteral("ب"), 2);
    const int other = addTemplate(TemplateFormType::CashContents, inFolder(QStringLiteral("C.xml")),
                                  QStringLiteral("ج"), 0);
    HeadlessReportChooser chooser(ctx);
    ASSERT_TRUE(chooser.fill(TemplateFormType::SaleInvoice));
    EXPECT_EQ(chooser.choose(QString()), inFolder(QStringLiteral("A.xml")));
    chooser.setTemplateId(second);
    EXPECT_EQ(chooser.choose(QString()), inFolder(QStringLiteral("B.xml")));
    chooser.setTemplateId(other);
    messages.clear();
    EXPECT_EQ(chooser.choose(QString()), QString());
    EXPECT_EQ(messages.last().text, print::kNoTemplateChosen);
}

// The second copy's file and the folder a relative path is taken from.
TEST(TemplatePaths, SecondCopyAndBasePath) {
    EXPECT_EQ(SecondCopyPath(QStringLiteral("/r/SaleInvoiceShop.xml")),
              QStringLiteral("/r/SaleInvoiceShop2.xml"));
    EXPECT_EQ(SecondCopyPath(QStringLiteral("C:\\R\\Invoice.rpt")),
              QStringLiteral("C:\\R\\Invoice2.rpt"));
    EXPECT_EQ(SecondCopyPath(QStringLiteral("/r.d/Invoice")), QStringLiteral("/r.d/Invoice2"));
    EXPECT_EQ(WithBasePath(QStringLiteral("Reports/A.xml"), QStringLiteral("/opt/erp")),
              QStringLiteral("/opt/erp/Reports/A.xml"));
    EXPECT_EQ(WithBasePath(QStringLiteral("Reports/A.xml"), QStringLiteral("/opt/erp/")),
              QStringLiteral("/opt/erp/Reports/A.xml"));
    EXPECT_EQ(WithBasePath(QStringLiteral("Reports/A.xml"), QString()),
              QStringLiteral("Reports/A.xml"));
}

SI_INSTANTIATE_BACKENDS(ReportChooserTest);

}  // namespace
}  // namespace si::test

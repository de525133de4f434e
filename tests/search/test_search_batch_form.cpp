// The batch commands on FormSearch: its buttons, and cmdToExcel disabled until its file is written
// and handed to the desktop.

#include <QPushButton>
#include <QTest>

#include "SearchBatchSupport.h"
#include "search/ui/FormSearch.h"
#include "support/XlsxReading.h"

namespace si::test {
namespace {

class SearchBatchFormTest : public SearchBatchTest {};

TEST_P(SearchBatchFormTest, TheExportButtonWaitsForItsFile) {
    storedInvoice();
    FormSearch form(ctx);
    form.setBatchFrontEnd(&frontEnd);
    form.InitializeSearch();
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("cmdSearch")), Qt::LeftButton);
    ASSERT_EQ(form.logic().result().rowCount(), 1);

    auto* button = form.findChild<QPushButton*>(QStringLiteral("cmdToExcel"));
    ASSERT_NE(button, nullptr);
    frontEnd.file = inFolder(QStringLiteral("form.xlsx"));
    bool enabledWhileOpening = true;
    frontEnd.onOpen = [&] { enabledWhileOpening = button->isEnabled(); };
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(frontEnd.opened, QStringList{frontEnd.file});
    EXPECT_FALSE(enabledWhileOpening);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(XlsxSheet(frontEnd.file).rowCount(), 2);
    for (const char* name : {"cmdPrint", "cmdBatchPrint", "cmdBatchDelete"})
        EXPECT_NE(form.findChild<QPushButton*>(QString::fromLatin1(name)), nullptr) << name;
}

SI_INSTANTIATE_BACKENDS(SearchBatchFormTest);

}  // namespace
}  // namespace si::test

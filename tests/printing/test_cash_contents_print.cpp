// Printing the contents of a cash turn from frmCashContents, as the invoice form opens it: the
// right, the turn template and the label texts in the template's fifteen slots.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "PrintingTestSupport.h"
#include "assembly/ui/InvoiceModuleUi.h"
#include "invoice/ui/FormMain.h"
#include "posting/ui/FrmCashContents.h"
#include "printing/CashContentsPrint.h"
#include "suite/CashTurnManager.h"

namespace si::test {
namespace {

class CashContentsPrintTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        useParameter(P::ShopMode, QStringLiteral("1"));
        cash = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق_جلو') RETURNING ID")));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {cash, ctx.globals.CurrentUserID});
        turn = suite::CashTurnManager(db(), ctx.globals.CurrentUserID).OpenTurn(cash).id;
        db().exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, ReceivedValue, "
                                 "PayedValue) values (?, ?, ?)"),
                  {turn, QVariant::fromValue(Money::fromRials(1234567)),
                   QVariant::fromValue(Money::fromRials(1000))});
    }
    // The contents of the form's turn, cmdOK pressed on them.
    void printFromTheForm() {
        FormMain view(ctx);
        auto installed = InstallModule(view);
        view.ClearShow();
        QTimer::singleShot(0, [] {
            auto* contents = qobject_cast<FrmCashContents*>(QApplication::activeModalWidget());
            ASSERT_NE(contents, nullptr);
            QTest::mouseClick(contents->findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
            contents->reject();
        });
        view.logic().seams.CashTurnPrint();
    }
    int cash = 0;
    qint64 turn = 0;
};

TEST_P(CashContentsPrintTest, TheLabelsGoIntoTheirSlots) {
    const QString file = inFolder(QStringLiteral("Turn.xml"));
    addTemplate(TemplateFormType::CashContents, file);
    addTemplate(TemplateFormType::CashContents, inFolder(QStringLiteral("Later.xml")));
    printFromTheForm();
    ASSERT_EQ(report->outputs.size(), 1u) << messages.texts().join(u'\n').toStdString();
    const RecordedOutput& o = report->last();
    EXPECT_EQ(o.file, file);
    EXPECT_EQ(o.destination, 1);
    EXPECT_EQ(o.preview, 0);
    const QString user = QString::number(ctx.globals.CurrentUserID);
    const QMap<int, QString> expected{{1, QStringLiteral("fmCash='صندوق'")},
                                      {2, QStringLiteral("fmNo='1'")},
                                      {3, QStringLiteral("fmOpenDate='1405/09/15'")},
                                      {4, QStringLiteral("fmCashier='") + user + QLatin1Char('\'')},
                                      {5, QStringLiteral("fmCloseDate=''")},
                                      {6, QStringLiteral("fmFactNo='0'")},
                                      {7, QStringLiteral("fmFactCost='0'")},
                                      {8, QStringLiteral("fmPercent='0'")},
                                      {10, QStringLiteral("fmReceive='0'")},
                                      {11, QStringLiteral("fmReturnNo='0'")},
                                      {12, QStringLiteral("fmReturnCost='0'")},
                                      {13, QStringLiteral("fmRemainNo='0'")},
                                      {14, QStringLiteral("fmRemain='0'")},
                                      {15, QStringLiteral("fmlReceive='1/234/567'")},
                                      {16, QStringLiteral("fmlPay='1/000'")}};
    EXPECT_EQ(o.formulas, expected);
}

TEST_P(CashContentsPrintTest, TheRightAndTheTemplateAreNeeded) {
    addTemplate(TemplateFormType::CashContents, inFolder(QStringLiteral("Turn.xml")));
    const auto contents = ReadCashTurnContents(db(), ctx.globals.CurrentUserID, cash, 1);
    ASSERT_TRUE(contents.has_value());
    const CashContentsFigures figures = CashContentsFiguresOf(*contents, QStringLiteral("صندوق"));
    asClerk({});
    messages.clear();
    EXPECT_FALSE(PrintCashContents(printing(), figures));
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    asClerk({Right::CashTurnContents});
    EXPECT_TRUE(PrintCashContents(printing(), figures));
    EXPECT_EQ(ReportLog::value(report->last(), QStringLiteral("fmlReceive")),
              QStringLiteral("'1/234/567'"));
    db().exec(QStringLiteral("delete from tblZelorReportTemplate"));
    EXPECT_FALSE(PrintCashContents(printing(), figures));
    EXPECT_EQ(report->outputs.size(), 1u);
}

// Outside a shop the clerk chooses among the turn templates.
TEST_P(CashContentsPrintTest, OutsideAShopTheTemplateIsChosen) {
    useParameter(P::ShopMode, QStringLiteral("0"));
    addTemplate(TemplateFormType::CashContents, inFolder(QStringLiteral("Turn.xml")));
    const QString chosen = inFolder(QStringLiteral("Chosen.xml"));
    addTemplate(TemplateFormType::CashContents, chosen, QStringLiteral("انتخابي"), -1);
    RecordingChooser chooser(ctx);
    printing().setChooser(&chooser);
    const auto contents = ReadCashTurnContents(db(), ctx.globals.CurrentUserID, cash, 1);
    EXPECT_TRUE(PrintCashContents(printing(), CashContentsFiguresOf(*contents, QString())));
    EXPECT_EQ(chooser.formType, TemplateFormType::CashContents);
    EXPECT_EQ(report->last().file, chosen);
}

SI_INSTANTIATE_BACKENDS(CashContentsPrintTest);

}  // namespace
}  // namespace si::test

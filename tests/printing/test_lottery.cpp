// Lottery sheets: cmdLottery's rights and reprint check, the sheet routine's parameters and
// messages, one output per sheet with its number, the cap, and the sheets after a shop's print.

#include "PrintingTestSupport.h"
#include "common/Jalali.h"
#include "printing/PrintTexts.h"

namespace si::test {
namespace {

constexpr int kAmount = 3389;
constexpr int kTemplate = 3390;
constexpr int kMaximum = 3391;

class LotteryTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        sheet = inFolder(QStringLiteral("Lottery.xml"));
        writeTemplateFile(sheet);
        setParameter(kAmount, QStringLiteral("1000000"));
        setParameter(kTemplate, sheet);
        setParameter(kMaximum, QStringLiteral("10"));
    }
    int lotteryCount(int invoice) {
        return db()
            .scalar(QStringLiteral("select coalesce(LotteryPrintCount, 0) from tblSaleInvoice "
                                   "where ID = ?"),
                    {invoice})
            .toInt();
    }
    QStringList sheetNumbers() const {
        QStringList numbers;
        for (const RecordedOutput& o : report->outputs)
            numbers << ReportLog::value(o, QStringLiteral("fmlNo"));
        return numbers;
    }
    // The routine's message for the parameters as they stand, or empty when it printed.
    QString refusal() {
        messages.clear();
        messages.alwaysAnswer(true);
        printing().PrintLotterySheets();
        return messages.empty() || messages.last().formType == 1 ? QString() : messages.last().text;
    }
    QString sheet;
};

TEST_P(LotteryTest, OneSheetPerAmountNumberedInOrder) {
    const int id = storedInvoice(2500000);
    messages.clear();
    messages.answerYes();
    printing().cmdLottery_Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, print::kQuestion);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("آيا مطمئنيد كه قصد چاپ ”2“ برگه قرعه كشي داريد؟"));
    EXPECT_EQ(sheetNumbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    const RecordedOutput& last = report->last();
    EXPECT_EQ(last.file, sheet);
    EXPECT_EQ(last.preview, 0);
    EXPECT_EQ(last.destination, 1);
    EXPECT_EQ(last.selection, QStringLiteral("{tblSaleInvoice.ID}=") + QString::number(id));
    // The invoice's list, then the sheet's number last.
    EXPECT_EQ(last.formulas.first(), QStringLiteral("fmlSLSInvoiceID=") + QString::number(id));
    EXPECT_EQ(last.formulas.last(), QStringLiteral("fmlNo=2"));
    EXPECT_EQ(last.formulas.size(), 48);
    const auto row = db().first(QStringLiteral("select LotteryPrintCount, LastLotteryPrintUserID, "
                                               "LastLotteryPrintDate, FarsiLastLotteryPrintDate "
                                               "from tblSaleInvoice where ID = ?"),
                                {id});
    EXPECT_EQ(row->toInt(u"LotteryPrintCount"), 2);
    EXPECT_EQ(row->toInt(u"LastLotteryPrintUserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(row->dateTime(u"LastLotteryPrintDate"), now);
    EXPECT_EQ(row->text(u"FarsiLastLotteryPrintDate"), getFarsiDate(now.date()));
    EXPECT_EQ(storedPrintCount(id), 0);  // sheets are not prints of the invoice
}

TEST_P(LotteryTest, MoreSheetsThanTheMaximumAreCutToIt) {
    setParameter(kMaximum, QStringLiteral("5"));
    const int id = storedInvoice(12400000);
    messages.clear();
    messages.answerYes();
    EXPECT_EQ(printing().PrintLotterySheets(), 5);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("آيا مطمئنيد كه قصد چاپ ”12“ برگه قرعه كشي داريد؟"));
    EXPECT_EQ(messages.last().caption, print::kNotice);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("به دليل بيشتر شدن تعداد برگه هاي قرعه كشي از سقف آن (5), تعداد "
                             "برگه ها به اندازه سقف كاهش يافت!"));
    EXPECT_EQ(sheetNumbers(),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                           QStringLiteral("4"), QStringLiteral("5")}));
    EXPECT_EQ(lotteryCount(id), 5);
}

TEST_P(LotteryTest, BelowTheAmountTheQuestionNamesNoSheet) {
    const int id = storedInvoice(999999);
    messages.clear();
    messages.answerYes();
    EXPECT_EQ(printing().PrintLotterySheets(), 0);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("آيا مطمئنيد كه قصد چاپ ”0“ برگه قرعه كشي داريد؟"));
    EXPECT_TRUE(report->outputs.empty());
    EXPECT_EQ(lotteryCount(id), 0);
}

TEST_P(LotteryTest, NoAnswerPrintsNothing) {
    const int id = storedInvoice(3000000);
    messages.clear();
    messages.answerNo();
    EXPECT_EQ(printing().PrintLotterySheets(), 0);
    EXPECT_TRUE(report->outputs.empty());
    EXPECT_EQ(lotteryCount(id), 0);
}

TEST_P(LotteryTest, AUsersOwnTemplateWins) {
    const QString mine = inFolder(QStringLiteral("MyLottery.xml"));
    writeTemplateFile(mine);
    setUserParameter(ctx.globals.CurrentUserID, kTemplate, mine);
    setUserParameter(addUser(QStringLiteral("ديگري"), true), kTemplate,
                     inFolder(QStringLiteral("Other.xml")));
    storedInvoice(1000000);
    messages.alwaysAnswer(true);
    EXPECT_EQ(printing().PrintLotterySheets(), 1);
    EXPECT_EQ(report->last().file, mine);
}

// Each parameter's refusal, in the routine's order, with the caption of the routine.
TEST_P(LotteryTest, EachParameterIsChecked) {
    storedInvoice(2000000);
    db().exec(QStringLiteral("delete from tblZelorSystemParameters where ID = ?"), {kAmount});
    EXPECT_EQ(refusal(), print::kNoLotteryAmount);
    EXPECT_EQ(messages.last().caption, print::kProblemArabic);
    setParameter(kAmount, QStringLiteral("0"));
    EXPECT_EQ(refusal(), QStringLiteral("مبلغ قرعه كشي ”0 “ بايد عدد مثبت باشد!"));
    setParameter(kAmount, QStringLiteral("1000000"));
    db().exec(QStringLiteral("delete from tblZelorSystemParameters where ID = ?"), {kTemplate});
    EXPECT_EQ(refusal(), print::kNoLotteryTemplate);
    setParameter(kTemplate, sheet);
    db().exec(QStringLiteral("delete from tblZelorSystemParameters where ID = ?"), {kMaximum});
    EXPECT_EQ(refusal(), print::kNoLotteryMaximum);
    setParameter(kMaximum, QStringLiteral("-2"));
    EXPECT_EQ(refusal(), QStringLiteral("سقف تعداد برگه هاي قرعه كشي ”-2 “ بايد عدد مثبت باشد!"));
    setParameter(kMaximum, QStringLiteral("10"));
    setParameter(kTemplate, inFolder(QStringLiteral("Gone.xml")));
    EXPECT_EQ(refusal(), QStringLiteral("فايل چاپي قرعه كشي يافت نشد! پيكربندي 3390 "));
    EXPECT_TRUE(report->outputs.empty());
    setParameter(kTemplate, sheet);
    EXPECT_EQ(refusal(), QString());
    EXPECT_EQ(report->outputs.size(), 2u);
}

// A reprint needs right 90132 and names the sheets printed; with it the clerk is asked.
TEST_P(LotteryTest, AReprintNeedsItsRight) {
    const int id = storedInvoice(2000000);
    asClerk({Right::PrintInvoice});
    messages.alwaysAnswer(true);
    printing().cmdLottery_Click();
    ASSERT_EQ(lotteryCount(id), 2);
    messages.clear();
    printing().cmdLottery_Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, print::kProblem);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("برگه قرعه كشي به تعداد «2» چاپ شده است. چاپ مجدد نياز به نقش 90132 "
                             "دارد لذا به نگهدارنده سيستم مراجعه كنيد!"));
    EXPECT_EQ(lotteryCount(id), 2);

    asClerk({Right::PrintInvoice, Right::LotteryReprint});
    messages.clear();
    messages.answerNo();
    printing().cmdLottery_Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, print::kQuestion);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("برگه قرعه كشي به تعداد «2» چاپ شده است. آيا براي چاپ مجدد مطمئن "
                             "هستيد؟"));
    EXPECT_EQ(lotteryCount(id), 2);
    messages.alwaysAnswer(true);
    printing().cmdLottery_Click();
    EXPECT_EQ(lotteryCount(id), 4);

    asClerk({});
    messages.clear();
    printing().cmdLottery_Click();
    EXPECT_EQ(messages.last().text, print::kNoLotteryRight);
    EXPECT_EQ(lotteryCount(id), 4);
}

// In a shop with parameter 3393 the sheets follow the invoice's print.
TEST_P(LotteryTest, AShopPrintsTheSheetsAfterTheInvoice) {
    addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("Shop.xml")));
    const int id = storedInvoice(3000000);
    useParameter(P::ShopMode, QStringLiteral("1"));
    useParameter(P::LotterySlips, QStringLiteral("1"));
    messages.alwaysAnswer(true);
    EXPECT_TRUE(printing().Print(false));
    ASSERT_EQ(report->outputs.size(), 4u);
    EXPECT_EQ(report->outputs[0].file, inFolder(QStringLiteral("Shop.xml")));
    EXPECT_EQ(sheetNumbers().mid(1),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(lotteryCount(id), 3);
    EXPECT_TRUE(printing().Print(true));  // a preview hands out no sheets
    EXPECT_EQ(report->outputs.size(), 5u);
}

SI_INSTANTIATE_BACKENDS(LotteryTest);

}  // namespace
}  // namespace si::test

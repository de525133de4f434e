// The text messages of a final save: the customer's and each promoter's, their placeholders and
// their order, the days since the previous purchase, the promoter's share in thousands of Rials,
// the problems each message tells, and the form's SendSMS raised only once the save is committed.

#include <gtest/gtest.h>

#include "PostingTestSupport.h"
#include "erpdb/Demo.h"
#include "erpdb/Procedures.h"

namespace si::test {
namespace {

struct Sms {
    QString phone;
    QString text;
    bool operator==(const Sms&) const = default;
};

void PrintTo(const Sms& sms, std::ostream* os) {
    *os << sms.phone.toStdString() << ": " << sms.text.toStdString();
}

const QString kCustomerPhone = QStringLiteral("09121110000");
const QString kSmsCaption = QStringLiteral("اشکال در پيامک");
const QString kProblemCaption = QStringLiteral("اشكال");

class SmsNoticesTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        setParameter(P::SmsMode, QStringLiteral("1"));
        setParameter(P::SmsCustomerTemplate, QStringLiteral("@CustomerName: فاكتور @ID"));
        setParameter(P::SmsPromoterTemplate, QStringLiteral("@PromoterName: @Value"));
        LoadSystemParameters(ctx);
        db().exec(QStringLiteral("update tblOrganization set CellPhone = ?, FirstName = ? where "
                                 "ID = ?"),
                  {kCustomerPhone, QStringLiteral("مريم"), customer});
        QObject::connect(form.get(), &FormMainLogic::SendSMS,
                         [this](const QString& phone, const QString& text) {
                             sent.push_back({phone, text});
                         });
    }

    int addPromoter(const QString& first, const QString& sure, const QVariant& phone,
                    const QVariant& percent) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, SureName, Phone, "
                           "IncomingSalePercent) values (?, ?, ?, ?) RETURNING ID"),
            {first, sure, phone, percent}));
    }
    int sara() {
        return addPromoter(QStringLiteral("سارا"), QStringLiteral("احمدي"),
                           QStringLiteral("09350001111"), 3);
    }
    // An invoice of the customer kept by a temporary save: the messages read it from the form as
    // they do after a final save.
    int storedInvoice(qint64 total = 5000) {
        newInvoice(total);
        EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
        messages.clear();
        return savedID();
    }
    void earlierInvoice(int daysAgo, int of) {
        InvoiceRow row;
        row.date = now.date().addDays(-daysAgo);
        row.customer = of;
        AddInvoice(db(), row);
    }
    SmsNotices& sms() { return module->sms(); }

    std::vector<Sms> sent;
};

TEST(PromoterShareTest, WholeRialsThenThousandsByTheSharedRounding) {
    struct Case {
        qint64 amount;
        double percent;
        qint64 share;
    };
    for (const Case& c :
         {Case{1234567, 3, 37000}, Case{10000, 1, 0},  // 100 Rials: no whole thousand
          Case{50000, 1, 1000},                        // 500 Rials: a tie goes up
          Case{2500, 100, 3000},                       // 2.5 thousands: up, not to the even 2
          Case{2999, 50, 2000},                        // 1499.5 Rials round to 1500 first
          Case{98765432, 100, 98765000}})
        EXPECT_EQ(PromoterShare(Money::fromRials(c.amount), c.percent), Money::fromRials(c.share))
            << c.amount << " at " << c.percent;
}

// Every placeholder of the customer's message in its order: the first six whatever their case,
// the card's two only as written; the promoter's own placeholders stay as they are.
TEST_P(SmsNoticesTest, TheCustomerMessageFillsItsPlaceholders) {
    const int promoter = sara();
    const int gold = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblCRMCardType (Name) values (?) RETURNING ID"),
        {QStringLiteral("طلايي")}));
    db().exec(QStringLiteral("insert into tblCRMOrganizationCard (OrganizationID, CardTypeID, "
                             "TotalGrade, TotalValue) values (?, ?, ?, ?)"),
              {customer, gold, QVariant::fromValue(Money::fromRials(1500)),
               QVariant::fromValue(Money::fromRials(9000000))});
    setParameter(P::SmsCustomerTemplate,
                 QStringLiteral("@id|@CUSTOMERID|@PromoterId|@customername|@CustomerFirstName|"
                                "@promotername|@OrgCard|@OrgGrade|@orgcard|@Value|@Branch|"
                                "@Promoter"));
    newInvoice();
    form->doc().sltPromoter.setIDQuietly(promoter, QStringLiteral("سارا احمدي"));
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();

    EXPECT_TRUE(sms().SendCustomerSms(customer));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0],
              (Sms{kCustomerPhone, QStringLiteral("%1|%2|%3|مشتري نمونه|مريم|سارا احمدي|طلايي|1500|"
                                                  "@orgcard|@Value|@Branch|@Promoter")
                                       .arg(id)
                                       .arg(customer)
                                       .arg(promoter)}));

    // Without a card or a first promoter their placeholders become empty.
    db().exec(QStringLiteral("delete from tblCRMOrganizationCard"));
    form->doc().sltPromoter.Clear();
    EXPECT_TRUE(sms().SendCustomerSms(customer));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].text, QStringLiteral("%1|%2||مشتري نمونه|مريم||||@orgcard|@Value|@Branch|"
                                           "@Promoter")
                                .arg(id)
                                .arg(customer));
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
}

// "@PromoterName" is replaced before "@Promoter", so the name comes out whole; "@Value" and
// "@Branch" only as written.
TEST_P(SmsNoticesTest, ThePromoterMessageGivesTheShareTheBranchAndTheWholeName) {
    const int promoter = sara();
    const int branch = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccountBranch (Name) values (?) RETURNING ID"),
        {QStringLiteral("شعبه مركزي")}));
    setParameter(P::SmsPromoterTemplate,
                 QStringLiteral("@PromoterName|@Promoter|@value|@Value|@branch|@Branch|@ID|"
                                "@customername|@PROMOTERID|@OrgCard"));
    const int id = storedInvoice();
    form->doc().sltBranch.setIDQuietly(branch, QStringLiteral("شعبه مركزي"));

    EXPECT_EQ(sms().SendPromoterSms(promoter, Money::fromRials(1234567)), Money::fromRials(37000));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Sms{QStringLiteral("09350001111"),
                            QStringLiteral("سارا احمدي|سارا احمدي|@value|37000|@branch|شعبه "
                                           "مركزي|%1|مشتري نمونه|%2|@OrgCard")
                                .arg(id)
                                .arg(promoter)}));
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
}

// Parameter 3388 counts calendar days from the latest other invoice of the customer dated no
// later than this one: 10 days sends, 30 and 40 do not and say nothing.
TEST_P(SmsNoticesTest, TheDaysSinceThePreviousPurchaseDecide) {
    useParameter(P::SmsCountLimit, QStringLiteral("30"));
    storedInvoice();
    const int other = AddCustomer(db(), QStringLiteral("مشتري ديگر"));
    earlierInvoice(2, other);      // another customer's
    earlierInvoice(-5, customer);  // dated after this invoice
    earlierInvoice(40, customer);
    EXPECT_FALSE(sms().SendCustomerSms(customer));
    earlierInvoice(30, customer);
    EXPECT_FALSE(sms().SendCustomerSms(customer));
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();

    earlierInvoice(10, customer);
    EXPECT_TRUE(sms().SendCustomerSms(customer));
    EXPECT_EQ(sent.size(), 1u);
}

TEST_P(SmsNoticesTest, AFirstTimeCustomerGetsTheMessageWhateverTheLimit) {
    for (const char* limit : {"1", "30", "0"}) {
        useParameter(P::SmsCountLimit, QString::fromLatin1(limit));
        storedInvoice();
        db().exec(QStringLiteral("delete from tblSaleInvoice where ID <> ?"), {savedID()});
        sent.clear();
        EXPECT_TRUE(sms().SendCustomerSms(customer)) << limit;
        EXPECT_EQ(sent.size(), 1u) << limit;
    }
}

TEST_P(SmsNoticesTest, AMissingTemplateOrCellPhoneIsToldAndNothingSent) {
    storedInvoice();
    setParameter(P::SmsCustomerTemplate, QStringLiteral("  "));
    EXPECT_FALSE(sms().SendCustomerSms(customer));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kSmsCaption);
    EXPECT_EQ(messages.last().text, QStringLiteral("متن پيامک در پايگاه داده تنظيم نشده است!"));

    setParameter(P::SmsCustomerTemplate, QStringLiteral("@CustomerName"));
    db().exec(QStringLiteral("update tblOrganization set CellPhone = null where ID = ?"),
              {customer});
    messages.clear();
    EXPECT_FALSE(sms().SendCustomerSms(customer));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kSmsCaption);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("شماره موبايل  مشتري در اطلاعات مشتري، وارد نشده است!"));
    EXPECT_TRUE(sent.empty());
}

// A promoter without a phone whose share comes to nothing hears of both, in three messages.
TEST_P(SmsNoticesTest, APromoterWithoutPhoneAndShareSeesThreeMessagesInOrder) {
    const int promoter = addPromoter(QStringLiteral("رضا"), QStringLiteral("نوري"), QVariant(), 1);
    storedInvoice();
    EXPECT_EQ(sms().SendPromoterSms(promoter, Money::fromRials(10000)), Money());
    ASSERT_EQ(messages.shown().size(), 3u) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.shown()[0].caption, kSmsCaption);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("شماره موبايل در اطلاعات بازارياب، وارد نشده است!"));
    EXPECT_EQ(messages.shown()[1].caption, kProblemCaption);
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("مبلغ بازارياب «0» است. ارسال پيامك براي وي ممكن نيست!"));
    EXPECT_EQ(messages.shown()[2].caption, kProblemCaption);
    EXPECT_EQ(messages.shown()[2].text,
              QStringLiteral("موبايل بازارياب در اطلاعات بازارياب وارد نشده است. ارسال پيامك "
                             "براي وي ممكن نيست!"));
    EXPECT_TRUE(sent.empty());
}

// What stops a promoter's message before any share is worked out.
TEST_P(SmsNoticesTest, APromoterMessageStopsAtItsTemplateOrPercentage) {
    storedInvoice();
    const QString noPercent =
        QStringLiteral("درصد بازياب از فروش مشخص نيست. پيامك بازارياب ارسال نشد!");
    const int unpaid = addPromoter(QStringLiteral("رضا"), QStringLiteral("نوري"),
                                   QStringLiteral("09350002222"), 0);
    EXPECT_EQ(sms().SendPromoterSms(unpaid, Money::fromRials(500000)), Money());
    EXPECT_EQ(messages.texts(), QStringList{noPercent});

    messages.clear();
    EXPECT_EQ(sms().SendPromoterSms(unpaid + 100, Money::fromRials(500000)), Money());
    EXPECT_EQ(
        messages.texts(),
        (QStringList{QStringLiteral("تلفن بازياب براي ارسال پيامك مشخص نشده است!"), noPercent}));
    EXPECT_EQ(messages.last().caption, kProblemCaption);

    setParameter(P::SmsPromoterTemplate, QString());
    messages.clear();
    EXPECT_EQ(sms().SendPromoterSms(sara(), Money::fromRials(500000)), Money());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral(
                  "پيام بازارياب تنظيم نشده است. شماره پيكربندي 5006. پيامك ارسال نشد!")});
    EXPECT_TRUE(sent.empty());
}

// Parameter 5004 off silences both messages, even their problems; 5009 off the promoters' only.
TEST_P(SmsNoticesTest, TheSwitchesSilenceTheirMessages) {
    const int promoter = sara();
    storedInvoice();
    db().exec(QStringLiteral("update tblOrganization set CellPhone = null where ID = ?"),
              {customer});
    useParameter(P::SmsMode, QStringLiteral("0"));
    EXPECT_FALSE(sms().SendCustomerSms(customer));
    EXPECT_EQ(sms().SendPromoterSms(promoter, Money::fromRials(1234567)), Money());
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(sent.empty());

    useParameter(P::SmsMode, QStringLiteral("1"));
    useParameter(P::SmsRule, QStringLiteral("0"));
    EXPECT_EQ(sms().SendPromoterSms(promoter, Money::fromRials(1234567)), Money());
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(sms().SendCustomerSms(customer));  // told of the missing phone
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(sent.empty());
}

// The final save raises SendSMS for the customer and each chosen promoter, only once the invoice
// is committed: another connection already sees its code. A save rolled back raises none.
TEST_P(SmsNoticesTest, AFinalSaveTellsTheCustomerAndEachPromoterAfterTheCommit) {
    const int first = sara();
    const int second = addPromoter(QStringLiteral("علي"), QStringLiteral("كريمي"),
                                   QStringLiteral("09190003333"), 2);
    const std::unique_ptr<Session> other = database->open();
    QStringList codesSeen;
    QObject::connect(form.get(), &FormMainLogic::SendSMS, [&] {
        codesSeen << other
                         ->scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"),
                                  {form->doc().invoiceID()})
                         .toString();
    });
    const auto fill = [&] {
        newInvoice(1234567);
        form->doc().chkShouldSMSSend = true;
        form->doc().sltPromoter.setIDQuietly(first, QStringLiteral("سارا احمدي"));
        form->doc().sltPromoter2.setIDQuietly(second, QStringLiteral("علي كريمي"));
    };
    fill();
    save->afterHeaderWritten = [] {
        throw SqlError(QStringLiteral("insert"), QStringLiteral("disk full"));
    };
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_TRUE(sent.empty());
    save->afterHeaderWritten = nullptr;
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();

    const int id = savedID();
    EXPECT_EQ(sent, (std::vector<Sms>{
                        {kCustomerPhone, QStringLiteral("مشتري نمونه: فاكتور %1").arg(id)},
                        {QStringLiteral("09350001111"), QStringLiteral("سارا احمدي: 37000")},
                        {QStringLiteral("09190003333"), QStringLiteral("علي كريمي: 25000")}}));
    EXPECT_EQ(codesSeen, QStringList(3, QStringLiteral("1")));

    // Without the tick nobody is told; a temporary save tells nobody either.
    sent.clear();
    fill();
    form->doc().chkShouldSMSSend = false;
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    fill();
    ASSERT_TRUE(save->SaveInvoice(false));
    EXPECT_TRUE(sent.empty());
}

// A template edited with cmdShouldSMSSend is the one the next final save uses, without a reload.
TEST_P(SmsNoticesTest, AnEditedTemplateIsUsedByTheNextSave) {
    newInvoice();
    form->doc().chkShouldSMSSend = true;
    form->ApplyMode();
    form->seams.EditText = [](const QString&, const QString&,
                              const std::function<bool(const QString&)>& accept) {
        accept(QStringLiteral("سلام @CustomerFirstName، فاكتور @ID ثبت شد"));
    };
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdShouldSMSSend")));
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].text, QStringLiteral("سلام مريم، فاكتور %1 ثبت شد").arg(savedID()));
    // No promoter chosen: no promoter's message and nothing said of one.
    EXPECT_FALSE(messages.anyContains(QStringLiteral("بازياب")))
        << messages.texts().join(u'\n').toStdString();
}

// A message that fails on the database after the commit says so; the invoice stays final.
TEST_P(SmsNoticesTest, AFailingMessageLeavesTheSavedInvoiceAsItIs) {
    newInvoice();
    form->doc().chkShouldSMSSend = true;
    save->seams.SendCustomerSms = [](int, Money) {
        throw SqlError(QStringLiteral("select"), QStringLiteral("server closed the connection"));
    };
    EXPECT_TRUE(save->SaveInvoice(true));
    EXPECT_EQ(storedCode(savedID()).toInt(), 1);
    EXPECT_EQ(form->doc().FormMode, kModeView);
    EXPECT_TRUE(messages.anyContains(
        QStringLiteral("فاكتور ثبت شد، اما پيامك آن فرستاده نشد. علت: server closed the "
                       "connection")));
}

SI_INSTANTIATE_BACKENDS(SmsNoticesTest);

// The demo company's templates, customers and promoters make whole messages of a demo sale.
class DemoSmsTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        database = std::make_unique<TestDatabase>(GetParam());
        erpdb::RegisterProcedures(procedures);
        messages.install(components);
        erpdb::DemoOptions options;
        options.goods = 30;
        options.customers = 20;
        options.invoices = 10;
        options.today = kTestNow.date();
        erpdb::FillDemoData(*database->open(&procedures), options);
        ctx.clock = [] { return kTestNow; };
        ctx.globals.CurrentConnectionString = database->connectionString();
        ctx.globals.CurrentUserID = erpdb::kDemoAdminUserId;
        OpenSession(ctx);
        LoadSystemParameters(ctx);
    }

    std::unique_ptr<TestDatabase> database;
    ProcedureRegistry procedures;
    ComponentRegistry components;
    MessageScript messages;
    Context ctx{&components, &procedures};
};

TEST_P(DemoSmsTest, ADemoSaleMakesWholeMessages) {
    const std::optional<Row> sale = ctx.db().first(QStringLiteral(
        "select s.ID, s.CustomerID, s.PromoterID from tblSaleInvoice s join tblOrganization o on "
        "o.ID = s.CustomerID where s.Code is not null and s.PromoterID is not null and "
        "o.CellPhone is not null order by s.ID limit 1"));
    ASSERT_TRUE(sale);
    FormMainLogic form(ctx);
    const std::unique_ptr<InvoiceModule> module = InstallModule(form);
    std::vector<Sms> sent;
    QObject::connect(&form, &FormMainLogic::SendSMS,
                     [&](const QString& phone, const QString& text) {
                         sent.push_back({phone, text});
                     });
    form.ViewInvoice(sale->toInt(u"ID"));
    ASSERT_EQ(form.doc().invoiceID(), sale->toInt(u"ID"));
    EXPECT_TRUE(module->sms().SendCustomerSms(sale->toInt(u"CustomerID")));
    EXPECT_GT(module->sms().SendPromoterSms(sale->toInt(u"PromoterID"), Money::fromRials(2000000)),
              Money());
    ASSERT_EQ(sent.size(), 2u) << messages.texts().join(u'\n').toStdString();
    for (const Sms& s : sent) {
        EXPECT_TRUE(s.phone.startsWith(QStringLiteral("09"))) << s.phone.toStdString();
        EXPECT_FALSE(s.text.contains(u'@')) << s.text.toStdString();
    }
}

SI_INSTANTIATE_BACKENDS(DemoSmsTest);

}  // namespace
}  // namespace si::test

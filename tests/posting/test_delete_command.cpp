// cmdDelete on the invoice form: each refusal and each question answered No stops before
// anything is written, the store version asks no reason, a cancelled reason deletes nothing, and
// a deleted invoice leaves the form cleared while a failed one stays shown.

#include <gtest/gtest.h>

#include "assembly/InvoiceModule.h"
#include "posting/InvoiceDeletion.h"
#include "posting/RemovalTestSupport.h"

namespace si::test {
namespace {

class ScriptedReasonChooser : public DeleteReasonChooser {
public:
    std::optional<int> chooseReason(const QVector<DeleteReason>& reasons) override {
        offered = reasons;
        ++asked;
        return answer;
    }
    std::optional<int> answer;
    QVector<DeleteReason> offered;
    int asked = 0;
};

class DeleteCommandTest : public RemovalFixture {
protected:
    void SetUp() override {
        RemovalFixture::SetUp();
        for (const auto& [sequence, text] : {std::pair{1, QStringLiteral("اشتباه در ورود")},
                                             std::pair{2, QStringLiteral("انصراف مشتري")}})
            db().exec(QStringLiteral("insert into tblZelorFormEventReasonType (EventTypeID, "
                                     "Sequence, Description) values (90102, ?, ?)"),
                      {sequence, text});
        // Another event's reason is never offered.
        db().exec(
            QStringLiteral("insert into tblZelorFormEventReasonType (EventTypeID, Sequence, "
                           "Description) values (90105, 9, 'x')"));
        id = temporaryInvoice();
        install();
    }
    void TearDown() override {
        module.reset();
        RemovalFixture::TearDown();
    }
    // A fresh form showing the invoice, with the module and a scripted reason chooser.
    void install() {
        module.reset();
        newForm();
        module = InstallModule(*form);
        auto owned = std::make_unique<ScriptedReasonChooser>();
        chooser = owned.get();
        chooser->answer = 2;
        module->useDeleteReasonChooser(std::move(owned));
        load(id);
        messages.clear();
    }
    void useClerk(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, rights);
    }
    void setDate(const QDate& date) {
        db().exec(QStringLiteral("update tblSaleInvoice set CreateDate = ?, FarsiCreateDate = ? "
                                 "where ID = ?"),
                  {date, getFarsiDate(date), id});
        load(id);
        messages.clear();
    }
    void setDistribution(bool moved, bool returned) {
        const int sheet = distributionSheet(moved);
        if (returned)
            db().exec(QStringLiteral("insert into tblDistributionReturn (Code, "
                                     "DistributionInvoiceID) values (1, ?)"),
                      {sheet});
        db().exec(
            QStringLiteral("update tblSaleInvoice set DistributionInvoiceID = ? where ID = ?"),
            {sheet, id});
        load(id);
        messages.clear();
    }
    bool stored() {
        return db()
            .first(QStringLiteral("select ID from tblSaleInvoice where ID = ?"), {id})
            .has_value();
    }
    // The invoice still stored and shown, nothing written, and the message or question last seen.
    void expectRefused(const QString& before, const QString& lastText) {
        EXPECT_EQ(footprint(), before);
        EXPECT_EQ(form->doc().invoiceID(), id);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.last().text, lastText);
    }

    int id = 0;
    std::unique_ptr<InvoiceModule> module;
    ScriptedReasonChooser* chooser = nullptr;
};

TEST_P(DeleteCommandTest, ADeletedInvoiceLeavesTheFormClearedWithItsReason) {
    messages.answerYes();
    form->cmdDelete_Click();
    EXPECT_FALSE(stored());
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kDeleteCaption);
    EXPECT_EQ(messages.last().text, kDeleteQuestion);
    ASSERT_EQ(chooser->offered.size(), 2);
    EXPECT_EQ(chooser->offered[1].sequence, 2);
    EXPECT_EQ(chooser->offered[1].description, QStringLiteral("انصراف مشتري"));
    EXPECT_EQ(lastEvent()->toInt(u"ReasonSequence"), 2);
    EXPECT_EQ(form->FormMode(), 3);
    EXPECT_TRUE(form->doc().txtID.isEmpty());
}

TEST_P(DeleteCommandTest, EachRefusalStopsBeforeAnythingIsWritten) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        int yes;  // questions answered yes before the refusal
        QString text;
    };
    const QDate yesterday = now.date().addDays(-1);
    const std::vector<Case> cases{
        {"no right", [&] { useClerk({}); }, 0, kNoRightMessage},
        {"question answered No", [] {}, 0, kDeleteQuestion},
        {"past the age limit",
         [&] {
             useParameter(P::AgeLimitDays, QStringLiteral("0"));
             setDate(yesterday);
             useClerk({Right::DeleteInvoice});
         },
         1, kDeleteAgeLimitPassed},
        {"distribution return", [&] { setDistribution(false, true); }, 1,
         kDeleteDistributionReturned},
        {"vehicle moved", [&] { setDistribution(true, false); }, 1, kDeleteVehicleMoved},
        {"distribution question answered No", [&] { setDistribution(false, false); }, 1,
         kDeleteDistributionQuestion},
        {"reason cancelled", [&] { chooser->answer.reset(); }, 1, kDeleteQuestion},
    };
    const int admin = ctx.globals.CurrentUserID;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ctx.globals.CurrentUserID = admin;
        useParameter(P::AgeLimitDays, QStringLiteral("-1"));
        install();
        c.arrange();
        const QString before = footprint();
        messages.answerYes(c.yes);
        form->cmdDelete_Click();
        EXPECT_EQ(messages.pendingAnswers(), 0);
        expectRefused(before, c.text);
        EXPECT_TRUE(stored());
        db().exec(QStringLiteral("update tblSaleInvoice set DistributionInvoiceID = null, "
                                 "CreateDate = ?, FarsiCreateDate = ? where ID = ?"),
                  {now.date(), getFarsiDate(now.date()), id});
    }
    EXPECT_EQ(chooser->asked, 1);  // only the cancelled one got as far as the reason
    EXPECT_EQ(count(QStringLiteral("tblZelorFormEvent")), 0);
}

TEST_P(DeleteCommandTest, TheAgeLimitCountsDaysEitherWayAndItsRightPassesIt) {
    const int admin = ctx.globals.CurrentUserID;
    useParameter(P::AgeLimitDays, QStringLiteral("0"));
    setDate(now.date());
    useClerk({Right::DeleteInvoice});
    messages.answerYes();
    form->cmdDelete_Click();
    EXPECT_FALSE(stored()) << messages.texts().join(u'|').toStdString();

    ctx.globals.CurrentUserID = admin;
    id = temporaryInvoice();
    install();
    setDate(now.date().addDays(1));
    useClerk({Right::DeleteInvoice});
    messages.answerYes();
    form->cmdDelete_Click();
    EXPECT_TRUE(stored());
    EXPECT_EQ(messages.last().text, kDeleteAgeLimitPassed);

    ctx.globals.CurrentUserID = admin;
    setDate(now.date().addDays(-30));
    useClerk({Right::DeleteInvoice, Right::EditPastAgeLimit});
    messages.answerYes();
    form->cmdDelete_Click();
    EXPECT_FALSE(stored()) << messages.texts().join(u'|').toStdString();
}

TEST_P(DeleteCommandTest, ADistributedInvoiceIsDeletedAfterItsQuestion) {
    setDistribution(false, false);
    messages.answerYes(2);
    form->cmdDelete_Click();
    EXPECT_FALSE(stored());
    EXPECT_EQ(messages.last().caption, kDeleteDistributionCaption);
}

TEST_P(DeleteCommandTest, TheStoreVersionAsksNoReason) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    install();
    messages.answerYes();
    form->cmdDelete_Click();
    EXPECT_FALSE(stored()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(chooser->asked, 0);
    EXPECT_TRUE(lastEvent()->isNull(u"ReasonSequence"));
}

TEST_P(DeleteCommandTest, AFailureShowsItsCauseAndKeepsTheInvoiceShown) {
    const QString before = footprint();
    procedures.add(QStringLiteral("spZelorUnRelateForms"), [](Session&, QVariantList&) -> QVariant {
        throw SqlError(QStringLiteral("spZelorUnRelateForms"), QStringLiteral("disk full"));
    });
    messages.answerYes();
    form->cmdDelete_Click();
    expectRefused(before, kDeleteFailed + QStringLiteral("disk full"));
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(form->FormMode(), 0);
}

SI_INSTANTIATE_BACKENDS(DeleteCommandTest);

}  // namespace
}  // namespace si::test

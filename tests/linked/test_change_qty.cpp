// cmdChangeQty and frmChangeQty: the first change keeps what was ordered, later ones only the new
// quantity and reason; what the command refuses and why, writing nothing; the values survive the
// save, which writes them back as it reads them. FormFormIDs: the dispatches of an invoice to
// choose from when there are several.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "linked/ChangeQty.h"
#include "linked/DispatchTestSupport.h"
#include "linked/FormFormIDs.h"
#include "linked/ui/FormFormIDs.h"
#include "linked/ui/FrmChangeQty.h"

namespace si::test {
namespace {

class ChangeQtyTest : public DispatchTest {
protected:
    void SetUp() override {
        DispatchTest::SetUp();
        for (int i = 1; i <= 2; ++i)
            db().exec(QStringLiteral("insert into tblZelorFormEventReasonType (EventTypeID, "
                                     "Sequence, Description) values (?, ?, ?)"),
                      {kQtyChangeEventType, i,
                       i == 1 ? QStringLiteral("كمبود موجودي") : QStringLiteral("درخواست مشتري")});
        db().exec(
            QStringLiteral("insert into tblZelorFormEventReasonType (EventTypeID, Sequence, "
                           "Description) values (90102, 7, 'حذف')"));
        sheet = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblDistributionInvoice (Code, IsMoved) values (1, 0) "
                           "RETURNING ID")));
        id = distributionInvoice(sheet);
    }
    int distributionInvoice(int distribution, QVariant code = {}) {
        InvoiceRow row;
        row.customer = customer;
        row.inventory = inventory;
        row.type = type;
        row.code = code;
        row.distributionInvoice = distribution;
        const int invoice = AddInvoice(db(), row);
        AddInvoiceLine(db(), invoice, QStringLiteral("1001"), 10, 1000, unit, 1);
        return invoice;
    }
    QtyChangeLine lineOf(int invoice) const {
        return {invoice, QStringLiteral("1001"), unit, QString()};
    }
    bool change(int invoice, double qty, int reason) {
        messages.clear();
        return ChangeQtyCommand(ctx).change(lineOf(invoice), {qty, reason});
    }
    // Qty, InitialQty, InitialScaleID and ChangeReasonSequence of the line.
    QString stored(int invoice) {
        const Row r = *db().first(
            QStringLiteral("select Qty, InitialQty, InitialScaleID, ChangeReasonSequence from "
                           "tblSaleInvoiceDetail where InvoiceID = ?"),
            {invoice});
        return QStringLiteral("%1 %2 %3 %4")
            .arg(r.toDouble(u"Qty"))
            .arg(r.text(u"InitialQty").isEmpty() ? QStringLiteral("-")
                                                 : QString::number(r.toDouble(u"InitialQty")))
            .arg(r.isNull(u"InitialScaleID")
                     ? QStringLiteral("-")
                     : (r.toInt(u"InitialScaleID") == unit ? QStringLiteral("unit")
                                                           : QStringLiteral("other")))
            .arg(r.isNull(u"ChangeReasonSequence") ? QStringLiteral("-")
                                                   : r.text(u"ChangeReasonSequence"));
    }
    int sheet = -1;
    int id = -1;
};

TEST_P(ChangeQtyTest, TheFirstChangeKeepsWhatWasOrderedAndLaterOnesOnlyTheReason) {
    EXPECT_EQ(ChangeQtyCommand(ctx).reasons().size(), 2);  // the delete reasons are not offered
    ASSERT_TRUE(change(id, 7, 2)) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(stored(id), QStringLiteral("7 10 unit 2"));
    ASSERT_TRUE(change(id, 5, 1));
    EXPECT_EQ(stored(id), QStringLiteral("5 10 unit 1"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorFormEvent where FormCode "
                                         "= ? and FormTypeID = 901"),
                          {id})
                  .toInt(),
              2);
}

TEST_P(ChangeQtyTest, RefusalsSayWhyAndChangeNothing) {
    const int plain = distributionInvoice(-1);
    const int final = distributionInvoice(sheet, 4);
    const int movedSheet = static_cast<int>(db().insertReturningId(QStringLiteral(
        "insert into tblDistributionInvoice (Code, IsMoved) values (2, 1) RETURNING ID")));
    const int moved = distributionInvoice(movedSheet);
    const struct {
        const char* name;
        int invoice;
        double qty;
        int reason;
        QString message;
    } cases[] = {
        {"not of a distribution sheet", plain, 7, 1, kChangeQtyNotDistribution},
        {"final", final, 7, 1, kChangeQtyFinal},
        {"vehicle left", moved, 7, 1, kChangeQtyMoved},
        {"no quantity", id, 0, 1, kChangeQtyBadQty},
        {"same quantity", id, 10, 1, kChangeQtySameQty},
        {"no reason", id, 7, -1, kChangeQtyNoReason},
        {"a delete reason", id, 7, 7, kChangeQtyNoReason},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(change(c.invoice, c.qty, c.reason));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, kErrorCaption);
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(stored(c.invoice), QStringLiteral("10 - - -"));
    }
    useParameter(P::ShopMode, QStringLiteral("1"));
    EXPECT_FALSE(change(id, 7, 1));
    EXPECT_EQ(messages.last().text, kChangeQtyShop);
    EXPECT_EQ(stored(id), QStringLiteral("10 - - -"));
}

// The form loads the recorded values into the line and a temporary save writes them back.
TEST_P(ChangeQtyTest, TheSaveKeepsTheRecordedChange) {
    ASSERT_TRUE(change(id, 6, 2));
    form->StartEditInvoice(id);
    const InvoiceLine& l = form->doc().flexDetail.line(0);
    EXPECT_EQ(l.InitialQty, QStringLiteral("10"));
    EXPECT_EQ(l.ChangeReason, QStringLiteral("2"));
    EXPECT_TRUE(form->availability().isEnabled(QStringLiteral("cmdTempSave")));
    save->SaveInvoice(false);
    EXPECT_EQ(stored(id), QStringLiteral("6 10 unit 2"))
        << messages.texts().join(u'\n').toStdString();
}

TEST_P(ChangeQtyTest, TheDialogWritesOnOkAndStaysOpenOnARefusal) {
    FrmChangeQty dialog(ctx, lineOf(id), QStringLiteral("كالا 1001"));
    EXPECT_EQ(dialog.txtQty()->text(), QStringLiteral("10"));
    ASSERT_EQ(dialog.cmbReason()->count(), 2);
    dialog.txtQty()->setText(QStringLiteral("8"));
    messages.clear();
    dialog.cmdOK_Click();  // no reason chosen
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.last().text, kChangeQtyNoReason);
    dialog.cmbReason()->setCurrentIndex(dialog.cmbReason()->findData(1));
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(id), QStringLiteral("8 10 unit 1"));
}

TEST_P(ChangeQtyTest, TheCommandIsOfferedOnATemporaryDistributionInvoiceOnly) {
    form->ShowInvoiceByID(id);
    EXPECT_TRUE(form->availability().isEnabled(QStringLiteral("cmdChangeQty")));
    form->ShowInvoiceByID(distributionInvoice(-1));
    EXPECT_FALSE(form->availability().isEnabled(QStringLiteral("cmdChangeQty")));
    form->ShowInvoiceByID(distributionInvoice(sheet, 9));
    EXPECT_FALSE(form->availability().isEnabled(QStringLiteral("cmdChangeQty")));
    EXPECT_TRUE(form->availability().isEnabled(QStringLiteral("cmdFromDispatch")));
}

SI_INSTANTIATE_BACKENDS(ChangeQtyTest);

class ScriptedFormIdChooser : public FormIdChooser {
public:
    int chooseFormID(const QVector<FormIdChoice>& choices) override {
        ++asked;
        offered = choices;
        return answer;
    }
    int asked = 0;
    QVector<FormIdChoice> offered;
    int answer = -1;
};

using FormIdsTest = DispatchTest;

TEST_P(FormIdsTest, SeveralDispatchesOfTheInvoiceAreOfferedAndTheChosenOneIsOpened) {
    InvoiceRow row;
    row.customer = customer;
    row.code = 3;
    const int invoice = AddInvoice(db(), row);
    ScriptedFormIdChooser chooser;
    messages.clear();
    EXPECT_EQ(ChooseFormID(InvoiceDispatchChoices(ctx, invoice), &chooser), -1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("برگه خروجي از روي اين فاکتور فروش كالا صادر نشده است."));

    DispatchRow d;
    d.formId = invoice;
    d.formTypeId = 901;
    d.code = 4;
    d.notes = QStringLiteral("اول");
    const int first = addDispatch(d);
    EXPECT_EQ(ChooseFormID(InvoiceDispatchChoices(ctx, invoice), &chooser), first);
    EXPECT_EQ(chooser.asked, 0);  // one is opened at once

    d.code = 5;
    d.notes = QStringLiteral("دوم");
    const int second = addDispatch(d);
    addDispatch(DispatchRow{});  // another invoice's
    chooser.answer = second;
    const QVector<FormIdChoice> choices = InvoiceDispatchChoices(ctx, invoice);
    EXPECT_EQ(ChooseFormID(choices, &chooser), second);
    ASSERT_EQ(chooser.offered.size(), 2);
    EXPECT_EQ(chooser.offered[0].id, first);
    EXPECT_EQ(chooser.offered[0].code, QStringLiteral("4"));
    EXPECT_EQ(chooser.offered[1].notes, QStringLiteral("دوم"));
    chooser.answer = -1;
    EXPECT_EQ(ChooseFormID(choices, &chooser), -1);  // cancelled
    chooser.answer = 12345;
    EXPECT_EQ(ChooseFormID(choices, &chooser), -1);  // not offered

    DialogFormIdChooser dialog(nullptr);
    dialog.present = [&](FormFormIDs& f) {
        ASSERT_EQ(f.list()->rowCount(), 2);
        EXPECT_EQ(f.list()->item(1, 0)->text(), QString::number(second));
        f.list()->setCurrentCell(1, 0);
        f.cmdOK_Click();
    };
    EXPECT_EQ(ChooseFormID(choices, &dialog), second);
    dialog.present = [](FormFormIDs& f) { f.reject(); };
    EXPECT_EQ(ChooseFormID(choices, &dialog), -1);
}

SI_INSTANTIATE_BACKENDS(FormIdsTest);

}  // namespace
}  // namespace si::test

// The component's list panel and its search entries: the temp and final lists with the host's
// clause, the batch commands, marking by right, and picking invoices through the search form.

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "ComponentFixture.h"
#include "common/Codes.h"
#include "component/comSaleInvoice1.h"
#include "invoice/ui/FormMain.h"
#include "search/InvoiceResultModel.h"
#include "search/ui/FormSearch.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/Typing.h"

namespace si {
namespace {

class ListPanelTest : public test::ComponentFixture {
protected:
    void SetUp() override {
        ComponentFixture::SetUp();
        const int customer = test::AddCustomer(db(), QStringLiteral("مشتري"));
        for (int i = 0; i < 6; ++i) {
            test::InvoiceRow row;
            row.customer = customer;
            row.date = QDate(2026, 11, 20).addDays(i);
            row.code = i < 2 ? QVariant(i + 1) : QVariant();
            row.notes = i % 2 ? QStringLiteral("پيك") : QStringLiteral("حضوري");
            ids << test::AddInvoice(db(), row);
        }
    }
    bool shown(const char* button) {
        return control->findChild<QPushButton*>(QString::fromLatin1(button))
            ->isVisibleTo(control.get());
    }
    QList<qint64> listed() {
        QList<qint64> all;
        for (int row = 0; row < control->listModel().rowCount(); ++row)
            all << control->listModel().invoiceId(row);
        return all;
    }

    QList<qint64> ids;
};

TEST_P(ListPanelTest, TheHostsClauseNarrowsAndATotalLimitBringsTheBatchCommands) {
    control->setWhereClause(QStringLiteral(" and TotalValue <= 5000000"));
    control->ViewTempDocs();
    EXPECT_EQ(listed(), (QList<qint64>{ids[5], ids[4], ids[3], ids[2]}));
    for (const char* b : {"cmdSelectAll", "cmdSelectNone", "cmdSelectInverse", "cmdFinalSave"})
        EXPECT_TRUE(shown(b)) << b;

    control->setWhereClause(QStringLiteral(" and Notes = 'پيك'"));
    control->ViewTempDocs();
    EXPECT_EQ(listed(), (QList<qint64>{ids[5], ids[3]}));
    EXPECT_FALSE(shown("cmdFinalSave"));
    control->setWhereClause(QStringLiteral(" and TotalValue <= 5000000"));
    control->ViewFinalDocs();
    EXPECT_EQ(listed(), (QList<qint64>{ids[1], ids[0]}));
    EXPECT_FALSE(shown("cmdSelectAll")) << "never in the final list";
    EXPECT_EQ(control->listModel().headerData(9, Qt::Horizontal).toString(),
              QStringLiteral("گروهقيمتگذاري"));
    control->DoSort(0, 2);
    EXPECT_EQ(listed(), (QList<qint64>{ids[0], ids[1]}));
    control->DoSort(0, 2);
    EXPECT_EQ(listed(), (QList<qint64>{ids[1], ids[0]}));
}

TEST_P(ListPanelTest, MarkingNeedsRight90106AndAClickFlipsARow) {
    control->setWhereClause(QStringLiteral(" and TotalValue <= 5000000"));
    control->ViewTempDocs();
    control->cmdSelectAll();
    EXPECT_EQ(control->listModel().markedIds().size(), 4);
    control->cmdSelectInverse();
    control->cmdSelectInverse();
    EXPECT_EQ(control->listModel().markedIds().size(), 4) << "inverting twice restores";
    control->cmdSelectNone();
    auto* flex = control->findChild<QTableView*>(QStringLiteral("flex"));
    control->resize(900, 500);
    control->show();
    QTest::mouseClick(flex->viewport(), Qt::LeftButton, {},
                      flex->visualRect(flex->model()->index(1, 4)).center());
    EXPECT_EQ(control->listModel().markedIds(), QList<qint64>{ids[4]});

    control->setUserID(static_cast<short>(addUser(QStringLiteral("بي دسترسي"), false)));
    control->ViewTempDocs();
    control->cmdSelectAll();
    EXPECT_TRUE(control->listModel().markedIds().isEmpty());
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
}

// The marked invoices within the position's credit level get the next codes, and the list is
// read again without them.
TEST_P(ListPanelTest, BatchFinalRegistersTheMarkedAndRefreshesTheList) {
    control->setWhereClause(QStringLiteral(" and TotalValue <= 5000000"));
    control->ViewTempDocs();
    control->listModel().toggleMark(1);  // ids[4]
    control->listModel().toggleMark(2);  // ids[3]
    messages.answerYes();
    control->findChild<QPushButton*>(QStringLiteral("cmdFinalSave"))->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("تعداد <2> فاكتور ثبت نهايي شدند."));
    EXPECT_EQ(listed(), (QList<qint64>{ids[5], ids[2]}));
    const auto code = [&](qint64 id) {
        return db()
            .scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {id})
            .toInt();
    };
    EXPECT_EQ(code(ids[3]), 3) << "the earlier date first";
    EXPECT_EQ(code(ids[4]), 4);
}

TEST_P(ListPanelTest, PickingHandsBackTheMarkedInvoices) {
    QString seen;
    control->runSearchForm = [&](FormSearch& form, bool picking) {
        EXPECT_TRUE(picking);
        test::TypeInto(form.findChild<QLineEdit*>(QStringLiteral("txtNotes")),
                       QStringLiteral("پیک"));
        form.findChild<QPushButton*>(QStringLiteral("cmdSearch"))->click();
        form.logic().result().toggleMark(0);
        form.logic().result().toggleMark(1);
        seen = form.logic().pickedIds();
        return seen;
    };
    EXPECT_EQ(control->SearchNGetInvoices(),
              QString::number(ids[5]) + QLatin1Char(',') + QString::number(ids[3]));
    EXPECT_EQ(seen, control->SearchNGetInvoices()) << "a second pick starts afresh";
}

// Browsing ends with the invoice chosen by Enter; the component and the invoice form open it.
TEST_P(ListPanelTest, AnInvoiceChosenInTheSearchOpens) {
    int searches = 0;
    control->runSearchForm = [&](FormSearch& form, bool picking) {
        EXPECT_FALSE(picking);
        ++searches;
        test::TypeInto(form.findChild<QLineEdit*>(QStringLiteral("txtNotes")),
                       QStringLiteral("حضوري"));
        form.findChild<QPushButton*>(QStringLiteral("cmdSearch"))->click();
        auto* grid = form.findChild<QTableView*>(QStringLiteral("flexSearch"));
        const QModelIndex second = grid->model()->index(1, 2);
        grid->setCurrentIndex(second);
        QTest::keyClick(grid, Qt::Key_Return);
        return form.outcome();
    };
    control->SearchInvoice();
    ASSERT_NE(control->myFrm(), nullptr);
    EXPECT_EQ(control->myFrm()->logic().doc().txtID, QString::number(ids[2]));

    control->ClearShow();
    control->myFrm()->logic().runCommand(QStringLiteral("cmdSearch"));
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(control->myFrm()->logic().doc().txtID, QString::number(ids[2]));
}

SI_INSTANTIATE_BACKENDS(ListPanelTest);

}  // namespace
}  // namespace si

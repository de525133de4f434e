// The search form as a clerk works it: its boxes, clearing, and a search that finds what the
// command line finds for the same filters.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "SearchFixture.h"
#include "apps/cli/Cli.h"
#include "controls/ui/JalaliDateEdit.h"
#include "search/ui/FormSearch.h"
#include "search/ui/InvoiceResultView.h"
#include "support/Typing.h"

namespace si::test {
namespace {

class FormSearchTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        form = std::make_unique<FormSearch>(ctx);
        form->setAttribute(Qt::WA_DontShowOnScreen);
        form->show();
        form->InitializeSearch();
    }
    void TearDown() override {
        form.reset();
        SearchTest::TearDown();
    }

    template <class W>
    W* control(const char* name) {
        auto* w = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) { control<QPushButton>(name)->click(); }

    QList<qint64> gridIds() {
        InvoiceResultModel& model = form->logic().result();
        model.fetchAll();
        QList<qint64> ids;
        for (int row = 0; row < model.rowCount(); ++row)
            ids << model.invoiceId(row);
        return ids;
    }

    QList<qint64> cliIds(QStringList args) {
        QString text;
        QTextStream out(&text);
        args = QStringList{QStringLiteral("--db"),    database->connectionString(),
                           QStringLiteral("--user"),  QString::number(ctx.globals.CurrentUserID),
                           QStringLiteral("invoice"), QStringLiteral("search")} +
               args;
        EXPECT_EQ(cli::Run(args, out), 0);
        out.flush();
        QList<qint64> ids;
        const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < lines.size(); ++i)
            ids << lines[i].split(QLatin1Char('\t')).value(2).toLongLong();
        return ids;
    }

    std::unique_ptr<FormSearch> form;
};

TEST_P(FormSearchTest, BoxesStartClearAndNumbersTakeDigitsOnly) {
    EXPECT_TRUE(control<QCheckBox>("chkTemp")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkNonDist")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkAllCustomer")->isChecked());
    EXPECT_EQ(control<QComboBox>("cmbSLSInvoiceType")->count(), 5) << "an empty entry, then 4";

    auto* minId = control<QLineEdit>("txtMinID");
    TypeInto(minId, QStringLiteral("1a۲-٣ "));
    EXPECT_EQ(minId->text(), QStringLiteral("1۲٣"));
    auto* percent = control<QLineEdit>("txtEndTotalDiscountPrcnt");
    TypeInto(percent, QStringLiteral("150"));
    Q_EMIT percent->editingFinished();
    EXPECT_EQ(percent->text(), QStringLiteral("50"));
    auto* notes = control<QLineEdit>("txtNotes");
    TypeInto(notes, QStringLiteral("'فردا'"));
    EXPECT_EQ(notes->text(), QStringLiteral("'فردا'")) << "a text box takes anything";

    minId->clear();
    click("cmdSearch");
    QList<qint64> found = gridIds();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected([](const InvoiceFact& f) { return f.notes.contains("'فردا'"); }));
    control<QCheckBox>("chkTemp")->setChecked(false);
    form->logic().selector(QStringLiteral("sltCustomer")).setID(customerOther);
    click("cmdNewSearch");
    EXPECT_TRUE(minId->text().isEmpty());
    EXPECT_TRUE(notes->text().isEmpty());
    EXPECT_TRUE(control<QCheckBox>("chkTemp")->isChecked());
    EXPECT_TRUE(form->logic().selector(QStringLiteral("sltCustomer")).IsEmpty());
    EXPECT_EQ(form->logic().result().rowCount(), 0);
}

TEST_P(FormSearchTest, TheFormAndTheCommandLineFindTheSame) {
    form->logic().selector(QStringLiteral("sltCustomer")).setID(customerParent);
    control<QCheckBox>("chkAllCustomer")->setChecked(true);
    control<QCheckBox>("chkTemp")->setChecked(false);
    control<JalaliDateEdit>("dtpBeginCreateDate")->setDate(QDate(2026, 11, 5));
    TypeInto(control<QLineEdit>("txtBeginGrandTotal"), QStringLiteral("۲۰۰۰۰"));
    click("cmdSearch");
    const QList<qint64> shown = gridIds();
    const QList<qint64> want = expected([&](const InvoiceFact& f) {
        return (f.customer == customerParent || f.customer == customerChild) && f.type != 4 &&
               f.code != -1 && f.date >= QDate(2026, 11, 5) && f.value >= 20000;
    });
    QList<qint64> sorted = shown;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_FALSE(want.isEmpty());
    EXPECT_EQ(sorted, want);
    EXPECT_EQ(cliIds({QStringLiteral("--customer"), QString::number(customerParent),
                      QStringLiteral("--with-sub-customers"), QStringLiteral("--no-temp"),
                      QStringLiteral("--from"), QStringLiteral("1405/08/14"),
                      QStringLiteral("--min-amount"), QStringLiteral("20000")}),
              shown);
    EXPECT_EQ(
        cliIds({QStringLiteral("--state"), QStringLiteral("final"), QStringLiteral("--customer"),
                QString::number(customerParent), QStringLiteral("--with-sub-customers"),
                QStringLiteral("--from"), QStringLiteral("1405/08/14"),
                QStringLiteral("--min-amount"), QStringLiteral("۲۰۰۰۰")}),
        shown);
}

TEST_P(FormSearchTest, ClickingRowsMarksThemForPicking) {
    click("cmdSearch");
    InvoiceResultView& grid = form->grid();
    const auto clickRow = [&](int row) {
        const QRect cell = grid.visualRect(grid.model()->index(row, 3));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    };
    clickRow(1);
    clickRow(2);
    clickRow(1);
    const qint64 picked = form->logic().result().invoiceId(2);
    EXPECT_EQ(form->logic().pickedIds(), QString::number(picked));
    click("cmdSelectAll");
    EXPECT_EQ(form->logic().pickedIds().split(QLatin1Char(',')).size(),
              static_cast<qsizetype>(invoices.size()));
    click("cmdSelectInverse");
    EXPECT_TRUE(form->logic().pickedIds().isEmpty());
}

SI_INSTANTIATE_BACKENDS(FormSearchTest);

}  // namespace
}  // namespace si::test

// The look-up selector: limited searches by code or name within the list filters, the shown text,
// change notifications, the top entry, and view names that never reach SQL unchecked.

#include <gtest/gtest.h>
#include <QSignalSpy>

#include "controls/SelectorModel.h"
#include "controls/ui/SelectorWidget.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/MissingObject.h"

namespace si {
namespace {

class SelectorTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        for (const auto& [code, name] :
             std::vector<std::pair<const char*, const char*>>{{"C100", "فروشگاه آفتاب"},
                                                              {"C200", "فروشگاه مهتاب"},
                                                              {"C300", "سوپر 100%"},
                                                              {"X_1", "پخش نمونه"},
                                                              {"C400", "O'Brien"}})
            ids.push_back(
                test::AddCustomer(db(), QString::fromUtf8(name), QString::fromLatin1(code)));
        model.setViews(QStringLiteral("vwOrganizationMajor"),
                       QStringLiteral("vwOrganizationMinor"));
    }
    QStringList names(const QVector<SelectorItem>& items) {
        QStringList list;
        for (const auto& i : items)
            list << i.name;
        return list;
    }
    std::vector<int> ids;
    SelectorModel model{ctx};
};

TEST_P(SelectorTest, SearchMatchesCodeOrNameWithinTheLimit) {
    EXPECT_EQ(names(model.search(QStringLiteral("فروشگاه"))),
              (QStringList{QStringLiteral("فروشگاه آفتاب"), QStringLiteral("فروشگاه مهتاب")}));
    EXPECT_EQ(names(model.search(QStringLiteral("c2"))),
              QStringList{QStringLiteral("فروشگاه مهتاب")});
    EXPECT_EQ(model.search(QString()).size(), 5);
    EXPECT_EQ(model.search(QString(), 2).size(), 2);
    // Wildcards and quotes typed by the clerk are plain characters.
    EXPECT_EQ(names(model.search(QStringLiteral("100%"))),
              QStringList{QStringLiteral("سوپر 100%")});
    EXPECT_EQ(names(model.search(QStringLiteral("X_"))), QStringList{QStringLiteral("پخش نمونه")});
    EXPECT_TRUE(model.search(QStringLiteral("%%")).isEmpty());
    EXPECT_EQ(names(model.search(QStringLiteral("o'b"))), QStringList{QStringLiteral("O'Brien")});
}

// The Persian keyboard's ی, ک and digits find names and codes stored with the Arabic letters and
// Latin digits, and the other way round.
TEST_P(SelectorTest, SearchMatchesWhateverKeyboardTypedOrStoredTheText) {
    test::AddCustomer(db(), QStringLiteral("علي اميني"), QStringLiteral("ك١٢٣"));
    test::AddCustomer(db(), QStringLiteral("رضا امینی کیا"), QStringLiteral("K-۱۲۳"));
    const QStringList both = {QStringLiteral("علي اميني"), QStringLiteral("رضا امینی کیا")};
    for (const char* typed : {"امینی", "اميني", "امىنى"}) {
        SCOPED_TRACE(typed);
        auto found = names(model.search(QString::fromUtf8(typed)));
        found.sort();
        QStringList expected = both;
        expected.sort();
        EXPECT_EQ(found, expected);
    }
    EXPECT_EQ(names(model.search(QStringLiteral("ک۱۲"))), QStringList{QStringLiteral("علي اميني")});
    EXPECT_EQ(names(model.search(QStringLiteral("ك123"))),
              QStringList{QStringLiteral("علي اميني")});
    EXPECT_EQ(names(model.search(QStringLiteral("k-123"))),
              QStringList{QStringLiteral("رضا امینی کیا")});
    EXPECT_EQ(names(model.search(QStringLiteral("كيا"))),
              QStringList{QStringLiteral("رضا امینی کیا")});
}

TEST_P(SelectorTest, FiltersLimitSearchTopAndListing) {
    model.setListFilter({QStringLiteral("ID <> ?"), {ids[0]}});
    EXPECT_EQ(names(model.search(QStringLiteral("فروشگاه"))),
              QStringList{QStringLiteral("فروشگاه مهتاب")});
    EXPECT_EQ(model.topID(), ids[1]);
    EXPECT_FALSE(model.isListed(ids[0]));
    EXPECT_TRUE(model.isListed(ids[1]));
    model.setListFilters({QStringLiteral("ID <> ?"), {ids[0]}},
                         {QStringLiteral("Code like ?"), {QStringLiteral("C%")}});
    EXPECT_FALSE(model.isListed(ids[3]));
    model.clearListFilters();
    EXPECT_EQ(model.topID(), ids[0]);
}

TEST_P(SelectorTest, SelectingShowsTheTextAndNotifiesOnChangeOrWhenForced) {
    QSignalSpy changed(&model, &SelectorModel::changed);
    EXPECT_TRUE(model.IsEmpty());
    model.setID(ids[1]);
    EXPECT_EQ(model.text(), QStringLiteral("C200 - فروشگاه مهتاب"));
    EXPECT_FALSE(model.IsEmpty());
    model.setID(ids[1]);
    EXPECT_EQ(changed.count(), 1);
    model.setID(ids[1], true);
    EXPECT_EQ(changed.count(), 2);
    model.Clear();
    EXPECT_TRUE(model.IsEmpty());
    EXPECT_TRUE(model.text().isEmpty());
    EXPECT_EQ(changed.count(), 3);
    model.setID(99999);  // not in the view: selected, without a text
    EXPECT_EQ(model.ID(), 99999);
    EXPECT_TRUE(model.text().isEmpty());
}

TEST_P(SelectorTest, ViewNamesMustBePlainIdentifiers) {
    model.setViews(QStringLiteral("vwOrganizationMajor; DROP TABLE tblOrganization"), QString());
    EXPECT_THROW(model.search(QStringLiteral("x")), std::invalid_argument);
    EXPECT_THROW(model.topID(), std::invalid_argument);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblOrganization")).toInt(), 5);
}

// Picking an entry reads its text and runs the field's change handler; when either fails, the
// field keeps the entry it had and the clerk sees one message.
TEST_P(SelectorTest, AFailedPickLeavesTheFieldAsItWas) {
    model.setID(ids[0]);
    const QString shown = model.text();
    SelectorWidget widget(model);
    QSignalSpy changed(&model, &SelectorModel::changed);
    const int picked = widget.count();
    widget.addItem(QStringLiteral("فروشگاه مهتاب"), ids[1]);
    {
        const test::MissingObject list(*database, QStringLiteral("vwOrganizationMajor"));
        Q_EMIT widget.activated(picked);
    }
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(model.ID(), ids[0]);
    EXPECT_EQ(model.text(), shown);

    QObject::connect(&model, &SelectorModel::changed, [this] {
        db().first(QStringLiteral("select * from tblOrganizationCreditMissing"));
    });
    widget.addItem(QStringLiteral("فروشگاه مهتاب"), ids[1]);
    Q_EMIT widget.activated(widget.count() - 1);
    EXPECT_EQ(model.ID(), ids[0]);
    EXPECT_EQ(model.text(), shown);
    EXPECT_EQ(widget.currentText(), shown);
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const test::ShownMessage& m : messages.shown()) {
        EXPECT_EQ(m.caption, kErrorCaption);
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("خطای پایگاه داده: ")))
            << m.text.toStdString();
    }
}

SI_INSTANTIATE_BACKENDS(SelectorTest);

}  // namespace
}  // namespace si

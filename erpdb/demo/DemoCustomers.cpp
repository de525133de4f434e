// The customers of the demo: the walk-in customer 'مشتريان' that new invoices default to,
// consumers with birthdays and loyalty cards, and shops on the distribution paths with their
// pricing method, credit, chains of branches, contracts and their own ledger accounts.

#include "common/Jalali.h"
#include "erpdb/demo/DemoModel.h"
#include "erpdb/demo/DemoNames.h"

namespace si::erpdb::demo {

namespace {

const QString kDefaultCustomerName = QStringLiteral("مشتريان");

// The check digit of an Iranian national code.
QString nationalCode(Rng& rng) {
    QString digits =
        QStringLiteral("%1").arg(rng.between(1'000'000, 999'999'999), 9, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += digits[i].digitValue() * (10 - i);
    const int r = sum % 11;
    return digits + QString::number(r < 2 ? r : 11 - r);
}

struct Writers {
    explicit Writers(Session& s)
        : organizations(s, QStringLiteral("tblOrganization"),
                        {QStringLiteral("ID"),
                         QStringLiteral("Code"),
                         QStringLiteral("Name"),
                         QStringLiteral("FirstName"),
                         QStringLiteral("IsPerson"),
                         QStringLiteral("Phone1"),
                         QStringLiteral("CellPhone"),
                         QStringLiteral("Address"),
                         QStringLiteral("BossDescription"),
                         QStringLiteral("NationalCode"),
                         QStringLiteral("EconomicCode"),
                         QStringLiteral("IntroductionTypeID"),
                         QStringLiteral("WorkActivityID"),
                         QStringLiteral("CustomerDegreeID"),
                         QStringLiteral("BranchID"),
                         QStringLiteral("BirthDate"),
                         QStringLiteral("FarsiBirthDate"),
                         QStringLiteral("CardPrintDate"),
                         QStringLiteral("FarsiCardPrintDate"),
                         QStringLiteral("CreateDate"),
                         QStringLiteral("FarsiCreateDate"),
                         QStringLiteral("IsActive")}),
          distribution(
              s, QStringLiteral("tblDistributionOrganization"),
              {QStringLiteral("ID"), QStringLiteral("OrganizationID"), QStringLiteral("PathID"),
               QStringLiteral("DistributerPathID"), QStringLiteral("AchieverPathID"),
               QStringLiteral("PricingMethodID"), QStringLiteral("ContractProjectID"),
               QStringLiteral("StoreName"), QStringLiteral("EnableCredit"),
               QStringLiteral("Credit"), QStringLiteral("EnableDocumentCredit"),
               QStringLiteral("DocumentCredit"), QStringLiteral("EnableExtraCredit"),
               QStringLiteral("ExtraCredit"), QStringLiteral("ExtraCreditBeginDate"),
               QStringLiteral("FarsiExtraCreditBeginDate"), QStringLiteral("ExtraCreditEndDate"),
               QStringLiteral("FarsiExtraCreditEndDate")}),
          cards(
              s, QStringLiteral("tblCRMOrganizationCard"),
              {QStringLiteral("ID"), QStringLiteral("OrganizationID"), QStringLiteral("CardTypeID"),
               QStringLiteral("TotalGrade"), QStringLiteral("TotalValue"),
               QStringLiteral("IssueDate"), QStringLiteral("FarsiIssueDate")}),
          accounts(s, QStringLiteral("tblAccount"),
                   {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Title"),
                    QStringLiteral("ParentID"), QStringLiteral("AccountGroupID"),
                    QStringLiteral("NoLevel"), QStringLiteral("IsClosed")}),
          related(
              s, QStringLiteral("tblAccountRelatedObjects"),
              {QStringLiteral("ID"), QStringLiteral("AccountID"), QStringLiteral("RelatedClassID"),
               QStringLiteral("RelatedObjectID"), QStringLiteral("AccountGroupID")}),
          closed(s, QStringLiteral("tblAccountClosedObjects"),
                 {QStringLiteral("ID"), QStringLiteral("ClassID"), QStringLiteral("ObjectID"),
                  QStringLiteral("CloseDate"), QStringLiteral("FarsiCloseDate"),
                  QStringLiteral("Notes")}),
          parents(s, QStringLiteral("tblOrganizationParent"),
                  {QStringLiteral("ID"), QStringLiteral("ChildID"), QStringLiteral("NoLevel")}),
          dependents(s, QStringLiteral("tblOrganizationDependentAccounts"),
                     {QStringLiteral("ID"), QStringLiteral("OrganizationID"),
                      QStringLiteral("DependentOrganizationID"), QStringLiteral("AccountID"),
                      QStringLiteral("SharePercent"), QStringLiteral("ShareValue")}),
          branches(s, QStringLiteral("tblOrganizationBranch"),
                   {QStringLiteral("OrganizationID"), QStringLiteral("BranchID")}) {}

    void finish() {
        for (BulkInsert* w : {&organizations, &distribution, &cards, &accounts, &related, &closed,
                              &parents, &dependents, &branches})
            w->finish();
    }

    BulkInsert organizations, distribution, cards, accounts, related, closed, parents, dependents,
        branches;
    int nextCard = 1;
    int nextDistribution = 1;
    int nextClosed = 1;
    int nextDependent = 1;
};

struct Profile {
    QString name;
    QString firstName;
    QString boss;
    int workActivity = 4;
    int degree = 2;
    QDate birthDate;
};

// Every twentieth consumer (the first among them) had a birthday in the last few days, so that
// the birthday discount shows in the demo.
QDate birthDateOf(Rng& rng, const QDate& today, bool recent) {
    const int age = rng.between(20, 60);
    if (recent) {
        const JalaliParts day = JalaliOf(today.addDays(-rng.between(0, 5)));
        const QDate d = FromJalali(day.year - age, day.month, day.day);
        if (d.isValid()) return d;
    }
    return today.addDays(-age * 365 - rng.between(0, 364));
}

Profile personProfile(Rng& rng, const QDate& today, int consumer) {
    Profile p;
    p.firstName = rng.pick(rng.chance(40) ? FemaleFirstNames() : MaleFirstNames());
    p.name = rng.pick(Surnames());
    p.degree = rng.chance(80) ? 2 : 3;
    p.birthDate = birthDateOf(rng, today, consumer % 20 == 0);
    return p;
}

Profile shopProfile(Rng& rng) {
    Profile p;
    const int kind = rng.below(int(ShopKinds().size()));
    p.name = ShopKinds()[kind] + QLatin1Char(' ') + rng.pick(ShopNames());
    p.boss = rng.pick(MaleFirstNames()) + QLatin1Char(' ') + rng.pick(Surnames());
    // Kinds in list order: shops, restaurants, chains and distributors.
    p.workActivity = kind < 4 ? 1 : kind < 8 ? 2 : kind < 10 ? 5 : 3;
    const int roll = rng.below(100);
    p.degree = roll < 30 ? 1 : roll < 85 ? 2 : 3;
    return p;
}

QString addressOf(Rng& rng, int branch) {
    const QString city =
        branch == id::kIsfahanBranch ? QStringLiteral("اصفهان") : rng.pick(Cities());
    return city + QStringLiteral("، ") + rng.pick(Streets()) + QStringLiteral("، کوچه ") +
           QString::number(rng.between(1, 40)) + QStringLiteral("، پلاک ") +
           QString::number(rng.between(1, 250));
}

class CustomerBuilder {
public:
    CustomerBuilder(DemoData& d) : d_(d), w_(d.session), rng_(d.options.seed, 6) {}

    void build() {
        addDefaultCustomer();
        for (int i = 1; i <= d_.options.customers; ++i)
            addCustomer(i);
        w_.finish();
    }

private:
    void addDefaultCustomer() {
        DemoCustomer c;
        c.id = id::kDefaultCustomer;
        c.pricingMethodId = id::kRetailMethod;
        c.introductionTypeId = 5;
        Profile p;
        p.name = kDefaultCustomerName;
        write(c, p, QStringLiteral("1"));
        d_.customers.push_back(c);
    }

    void addCustomer(int index) {
        DemoCustomer c;
        c.id = index + 1;
        c.isPerson = rng_.chance(45);
        c.isShop = !c.isPerson;
        c.branchId = rng_.chance(15) ? id::kIsfahanBranch : id::kMainShop;
        c.introductionTypeId = rng_.between(1, 5);
        const Profile p =
            c.isPerson ? personProfile(rng_, d_.calendar.today(), consumers_++) : shopProfile(rng_);
        if (c.isShop)
            placeOnPaths(c);
        else
            c.pricingMethodId = id::kRetailMethod;
        chainOf(c, index);
        write(c, p, QString::number(10000 + c.id));
        d_.customers.push_back(c);
    }

    void placeOnPaths(DemoCustomer& c) {
        const auto& regions = d_.regions;
        const int region = c.branchId == id::kIsfahanBranch ? int(regions.size()) - 1
                                                            : rng_.below(int(regions.size()) - 1);
        const DemoData::Region& r = regions[static_cast<size_t>(region)];
        const int k = rng_.below(2);
        salePath_ = r.salePaths[k];
        c.promoterId = r.salePromoters[k];
        c.distributerId = r.distributor;
        c.achieverId = r.collector;
        distributionPath_ = r.distributionPath;
        collectionPath_ = r.collectionPath;
        const int roll = rng_.below(100);
        c.pricingMethodId = roll < 60   ? id::kWholesaleMethod
                            : roll < 80 ? id::kPartnerMethod
                                        : id::kRetailMethod;
    }

    // Every fortieth customer heads a chain whose next two shops are its branches; their sales
    // share goes to the head's dependent account.
    void chainOf(DemoCustomer& c, int index) {
        if (index % 40 == 0 && c.isShop) chainHead_ = c.id;
        if (chainHead_ > 0 && c.isShop && c.id != chainHead_ && c.id - chainHead_ <= 2) {
            w_.parents.add({chainHead_, c.id, 1});
            w_.dependents.add({w_.nextDependent++, c.id, chainHead_,
                               d_.accountId(account::kDependents), 1.0, Null()});
            c.hasDependents = true;
        }
    }

    void write(DemoCustomer& c, const Profile& p, const QString& code) {
        const QDate created = d_.historyStart.addDays(-rng_.between(30, 900));
        const QDate card = writeCards(c);
        w_.organizations.add(
            {c.id,
             code,
             p.name,
             p.firstName.isEmpty() ? Null() : QVariant(p.firstName),
             Flag(c.isPerson),
             QStringLiteral("0%1-%2")
                 .arg(rng_.between(21, 87))
                 .arg(rng_.between(22'000'000, 88'999'999)),
             c.id == id::kDefaultCustomer
                 ? Null()
                 : QVariant(QStringLiteral("09%1%2")
                                .arg(rng_.between(10, 39))
                                .arg(rng_.between(0, 9'999'999), 7, 10, QLatin1Char('0'))),
             addressOf(rng_, c.branchId),
             p.boss.isEmpty() ? Null() : QVariant(p.boss),
             c.isPerson ? QVariant(nationalCode(rng_)) : Null(),
             c.isShop ? QVariant(QStringLiteral("4%1").arg(
                            rng_.between64(10'000'000'000, 99'999'999'999)))
                      : Null(),
             c.introductionTypeId,
             p.workActivity,
             p.degree,
             c.branchId,
             d_.calendar.date(p.birthDate),
             d_.calendar.farsi(p.birthDate),
             d_.calendar.date(card),
             d_.calendar.farsi(card),
             d_.calendar.date(created),
             d_.calendar.farsi(created),
             1});
        if (c.isShop && c.branchId == id::kIsfahanBranch && rng_.chance(30))
            w_.branches.add({c.id, id::kMainShop});
        writeDistribution(c, p);
        writeAccount(c, p);
    }

    // The latest card is the one in force; some customers moved up from an older one.
    QDate writeCards(const DemoCustomer& c) {
        if (c.id == id::kDefaultCustomer || !rng_.chance(60)) return {};
        const QDate today = d_.calendar.today();
        const int type = rng_.between(id::kRetailCardType, id::kGoldCardType);
        if (type > id::kRetailCardType && rng_.chance(30)) {
            const QDate old = today.addDays(-rng_.between(400, 700));
            w_.cards.add({w_.nextCard++, c.id, type - 1, Rials(rng_.between(0, 900)),
                          Rials(rng_.between(1, 90) * 1'000'000), d_.calendar.date(old),
                          d_.calendar.farsi(old)});
        }
        const QDate issued = today.addDays(-rng_.between(1, 380));
        w_.cards.add({w_.nextCard++, c.id, type, Rials(rng_.between(0, 3000) * type),
                      Rials(rng_.between(1, 400) * 1'000'000), d_.calendar.date(issued),
                      d_.calendar.farsi(issued)});
        return issued;
    }

    void writeDistribution(const DemoCustomer& c, const Profile& p) {
        const bool shop = c.isShop;
        const qint64 credit = p.degree == 1   ? 1'000'000'000
                              : p.degree == 2 ? 300'000'000
                                              : 100'000'000;
        const bool extra = shop && rng_.chance(10);
        const QDate today = d_.calendar.today();
        const QDate from = today.addDays(-10);
        const QDate to = today.addDays(20);
        w_.distribution.add(
            {w_.nextDistribution++, c.id, shop ? QVariant(salePath_) : Null(),
             shop ? QVariant(distributionPath_) : Null(), shop ? QVariant(collectionPath_) : Null(),
             c.pricingMethodId, Null(), shop ? QVariant(p.name) : Null(),
             Flag(shop && rng_.chance(70)), shop ? Rials(credit) : Null(),
             Flag(shop && rng_.chance(30)), shop ? Rials(credit * 2) : Null(), Flag(extra),
             extra ? Rials(100'000'000) : Null(), extra ? d_.calendar.date(from) : Null(),
             extra ? d_.calendar.farsi(from) : Null(), extra ? d_.calendar.date(to) : Null(),
             extra ? d_.calendar.farsi(to) : Null()});
    }

    // Each customer's own leaf account under the customers' account; a few are closed.
    void writeAccount(DemoCustomer& c, const Profile& p) {
        c.accountId = d_.nextAccountId++;
        const bool closed = c.id != id::kDefaultCustomer && c.id % 97 == 0;
        const QString title =
            (p.firstName.isEmpty() ? p.name : p.firstName + QLatin1Char(' ') + p.name);
        w_.accounts.add({c.accountId,
                         QString::fromLatin1(account::kCustomers) +
                             QStringLiteral("%1").arg(c.id, 6, 10, QLatin1Char('0')),
                         QStringLiteral("حساب ") + title, d_.accountId(account::kCustomers),
                         group::kReceivables, 4, Flag(closed)});
        w_.related.add({d_.nextRelatedObjectId++, c.accountId, 7, c.id, group::kReceivables});
        if (closed) {
            const QDate when = d_.calendar.today().addDays(-c.id % 60);
            w_.closed.add({w_.nextClosed++, 7, c.id, d_.calendar.date(when),
                           d_.calendar.farsi(when),
                           QStringLiteral("حساب به دليل چک برگشتي مسدود شده است")});
        }
    }

    DemoData& d_;
    Writers w_;
    Rng rng_;
    int chainHead_ = 0;
    int consumers_ = 0;
    int salePath_ = 0;
    int distributionPath_ = 0;
    int collectionPath_ = 0;
};

void fillContracts(DemoData& d) {
    // Contracts with the first shops, one of them with a sub-project.
    std::vector<int> shops;
    for (const DemoCustomer& c : d.customers)
        if (c.isShop && shops.size() < 3) shops.push_back(c.id);
    BulkInsert rows(
        d.session, QStringLiteral("tblAccountContractProject"),
        {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
         QStringLiteral("ParentID"), QStringLiteral("OrganizationID"), QStringLiteral("BeginDate"),
         QStringLiteral("FarsiBeginDate"), QStringLiteral("EndDate"),
         QStringLiteral("FarsiEndDate"), QStringLiteral("IsActive")});
    const QDate begin = d.calendar.today().addDays(-120);
    const QDate end = d.calendar.today().addDays(240);
    int id = 1;
    for (int shop : shops) {
        rows.add({id, QStringLiteral("CP%1").arg(id),
                  QStringLiteral("قرارداد تامين کالا %1").arg(id), Null(), shop,
                  d.calendar.date(begin), d.calendar.farsi(begin), d.calendar.date(end),
                  d.calendar.farsi(end), 1});
        ++id;
    }
    if (!shops.empty()) {
        rows.add({id, QStringLiteral("CP%1").arg(id), QStringLiteral("پروژه تجهيز شعبه جديد"), 1,
                  shops.front(), d.calendar.date(begin), d.calendar.farsi(begin),
                  d.calendar.date(end), d.calendar.farsi(end), 1});
        d.session.exec(QStringLiteral("INSERT INTO tblAccountContractProjectParent (ContractID, "
                                      "ChildID, NoLevel) VALUES (?,?,?)"),
                       {1, id, 1});
        d.session.exec(QStringLiteral("UPDATE tblDistributionOrganization SET ContractProjectID "
                                      "= ? WHERE OrganizationID = ?"),
                       {1, shops.front()});
    }
    rows.finish();
}

}  // namespace

void FillCustomers(DemoData& d) {
    d.progress(QStringLiteral("مشتريان: %1").arg(d.options.customers + 1));
    IndexesSetAside indexes(
        d.session,
        {QStringLiteral("tblOrganization"), QStringLiteral("tblDistributionOrganization"),
         QStringLiteral("tblCRMOrganizationCard"), QStringLiteral("tblAccountRelatedObjects")});
    CustomerBuilder(d).build();
    indexes.restore();
    fillContracts(d);
}

}  // namespace si::erpdb::demo

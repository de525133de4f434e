// The staff of the demo company and its distribution network: a small employee tree (a sales
// manager over the leads of promotion, distribution and collection, whose field staff are the
// leaves that may stand on an invoice), the users' own employees, and the regions with their
// sale, distribution and collection paths and the employees serving them.

#include "erpdb/demo/DemoModel.h"
#include "erpdb/demo/DemoNames.h"

namespace si::erpdb::demo {

namespace {

struct Person {
    QString first;
    QString last;
};

Person randomPerson(Rng& rng) {
    const bool female = rng.chance(35);
    return {rng.pick(female ? FemaleFirstNames() : MaleFirstNames()), rng.pick(Surnames())};
}

QString cellPhone(Rng& rng) {
    return QStringLiteral("09%1%2")
        .arg(rng.between(10, 39))
        .arg(rng.between(0, 9'999'999), 7, 10, QLatin1Char('0'));
}

class EmployeeWriter {
public:
    explicit EmployeeWriter(DemoData& d)
        : d_(d),
          rows_(d.session, QStringLiteral("tblEmployee"),
                {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("FirstName"),
                 QStringLiteral("SureName"), QStringLiteral("ParentID"), QStringLiteral("UserID"),
                 QStringLiteral("BranchID"), QStringLiteral("Tag"),
                 QStringLiteral("PricingMethodID"), QStringLiteral("Phone"),
                 QStringLiteral("IncomingSalePercent"), QStringLiteral("IsActive")}),
          accounts_(
              d.session, QStringLiteral("tblAccountRelatedObjects"),
              {QStringLiteral("ID"), QStringLiteral("AccountID"), QStringLiteral("RelatedClassID"),
               QStringLiteral("RelatedObjectID"), QStringLiteral("AccountGroupID")}),
          branches_(d.session, QStringLiteral("tblEmployeeBranch"),
                    {QStringLiteral("EmployeeID"), QStringLiteral("BranchID")}) {}

    struct New {
        Person person;
        int parent = 0;
        int user = 0;
        int branch = id::kMainShop;
        bool field = false;  // promoters and the like carry a card tag and a sale share
        int pricingMethod = 0;
    };

    int add(const New& e, Rng& rng) {
        const int id = ++d_.employeeCount;
        rows_.add({id, QStringLiteral("E%1").arg(id, 3, 10, QLatin1Char('0')), e.person.first,
                   e.person.last, e.parent > 0 ? QVariant(e.parent) : Null(),
                   e.user > 0 ? QVariant(e.user) : Null(), e.branch,
                   e.field ? QVariant(QStringLiteral("RF%1").arg(10'000'000 + id * 7919)) : Null(),
                   e.pricingMethod > 0 ? QVariant(e.pricingMethod) : Null(), cellPhone(rng),
                   e.field ? QVariant(1.5) : Null(), 1});
        accounts_.add(
            {d_.nextRelatedObjectId++, d_.accountId(account::kStaff), 9, id, group::kOther});
        // Field staff of the capital also serve Isfahan now and then.
        if (e.field && e.branch == id::kMainShop && id % 3 == 0)
            branches_.add({id, id::kIsfahanBranch});
        return id;
    }

    void finish() {
        rows_.finish();
        accounts_.finish();
        branches_.finish();
    }

private:
    DemoData& d_;
    BulkInsert rows_;
    BulkInsert accounts_;
    BulkInsert branches_;
};

void fillEmployees(DemoData& d, Rng& rng) {
    EmployeeWriter w(d);
    const auto staff = [&](const char* first, const char* last, int parent, int user, int branch) {
        return w.add({{QString::fromUtf8(first), QString::fromUtf8(last)}, parent, user, branch},
                     rng);
    };
    staff("کامران", "نيکنام", 0, 0, id::kHeadOffice);                            // 1
    staff("مسعود", "يزداني", id::kSalesManager, 0, id::kMainShop);               // 2
    staff("بهروز", "کشاورز", id::kSalesManager, 0, id::kMainShop);               // 3
    staff("مجيد", "توکلي", id::kSalesManager, 0, id::kMainShop);                 // 4
    staff("علي", "رضايي", id::kSalesManager, id::kAdminUser, id::kHeadOffice);   // 5
    staff("زهرا", "کريمي", id::kSalesManager, id::kCashierUser, id::kMainShop);  // 6
    staff("حسين", "احمدي", id::kSalesManager, id::kClerkUser, id::kMainShop);    // 7

    const int promoters = std::clamp(d.options.customers / 25, 4, 60);
    const int others = std::clamp(promoters / 2, 2, 30);
    for (int i = 0; i < promoters; ++i) {
        const int branch = i % 5 == 4 ? id::kIsfahanBranch : id::kMainShop;
        d.promoters.push_back(w.add({randomPerson(rng), id::kPromoterLead, 0, branch, true,
                                     i % 4 == 0 ? id::kWholesaleMethod : 0},
                                    rng));
    }
    for (int i = 0; i < others; ++i)
        d.distributors.push_back(
            w.add({randomPerson(rng), id::kDistributionLead, 0, id::kMainShop, true}, rng));
    for (int i = 0; i < others; ++i)
        d.collectors.push_back(
            w.add({randomPerson(rng), id::kCollectionLead, 0, id::kMainShop, true}, rng));
    w.finish();
}

void fillPaths(DemoData& d) {
    const QStringList regionNames{QStringLiteral("شمال تهران"), QStringLiteral("جنوب تهران"),
                                  QStringLiteral("شرق تهران"), QStringLiteral("غرب تهران"),
                                  QStringLiteral("اصفهان")};
    BulkInsert regions(d.session, QStringLiteral("tblDistributionRegion"),
                       {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                        QStringLiteral("ParentID")});
    BulkInsert paths(d.session, QStringLiteral("tblDistributionPath"),
                     {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                      QStringLiteral("RegionID"), QStringLiteral("ParentID")});
    BulkInsert closure(
        d.session, QStringLiteral("tblDistributionPathParent"),
        {QStringLiteral("ID"), QStringLiteral("ChildID"), QStringLiteral("NoLevel")});
    BulkInsert staff(d.session, QStringLiteral("tblDistributionPathPromoters"),
                     {QStringLiteral("ID"), QStringLiteral("PathID"), QStringLiteral("EmployeeID"),
                      QStringLiteral("PriorityNo"), QStringLiteral("NonAchievedMaxValue")});
    int nextPath = 1;
    int nextStaff = 1;
    int promoter = 0;
    for (int r = 0; r < regionNames.size(); ++r) {
        const int region = r + 1;
        const QString& name = regionNames[r];
        regions.add({region, QString::number(region), QStringLiteral("منطقه ") + name, Null()});
        const int parent = nextPath++;
        paths.add(
            {parent, QString::number(parent), QStringLiteral("مسيرهاي ") + name, region, Null()});
        DemoData::Region reg;
        reg.branchId = region == 5 ? id::kIsfahanBranch : id::kMainShop;
        const auto child = [&](const QString& title) {
            const int path = nextPath++;
            paths.add({path, QString::number(path), title + name, region, parent});
            closure.add({parent, path, 1});
            return path;
        };
        for (int k = 0; k < 2; ++k) {
            reg.salePaths[k] = child(QStringLiteral("مسير فروش %1 ").arg(k + 1));
            reg.salePromoters[k] =
                d.promoters[static_cast<size_t>(promoter++) % d.promoters.size()];
            staff.add(
                {nextStaff++, reg.salePaths[k], reg.salePromoters[k], 1, Rials(2'000'000'000)});
            // A second promoter stands in on the path.
            staff.add({nextStaff++, reg.salePaths[k],
                       d.promoters[static_cast<size_t>(promoter + 1) % d.promoters.size()], 2,
                       Rials(1'000'000'000)});
        }
        reg.distributionPath = child(QStringLiteral("مسير پخش "));
        reg.distributor = d.distributors[static_cast<size_t>(r) % d.distributors.size()];
        staff.add({nextStaff++, reg.distributionPath, reg.distributor, 1, Null()});
        reg.collectionPath = child(QStringLiteral("مسير وصول "));
        reg.collector = d.collectors[static_cast<size_t>(r) % d.collectors.size()];
        staff.add({nextStaff++, reg.collectionPath, reg.collector, 1, Null()});
        d.regions.push_back(reg);
    }
    regions.finish();
    paths.finish();
    closure.finish();
    staff.finish();
}

}  // namespace

void FillPeople(DemoData& d) {
    d.progress(QStringLiteral("کارکنان و مسيرهاي پخش"));
    Rng rng(d.options.seed, 5);
    fillEmployees(d, rng);
    fillPaths(d);
}

}  // namespace si::erpdb::demo

#include "search/SearchFormLogic.h"

namespace si {

SearchFormLogic::SearchFormLogic(Context& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx), result_(ctx, SearchColumns()) {
    configureLookups();
}

SelectorModel& SearchFormLogic::lookup(const char* control, const char* major, const char* minor,
                                       const QString& caption) {
    auto model = std::make_unique<SelectorModel>(ctx_, this);
    model->setViews(QString::fromLatin1(major), QString::fromLatin1(minor));
    model->setCaption(caption);
    SelectorModel& added = *model;
    selectors_[QString::fromLatin1(control)] = std::move(model);
    return added;
}

void SearchFormLogic::configureLookups() {
    lookup("sltIntroductionType", "vwOrganizationIntroductionTypeMajor",
           "vwOrganizationIntroductionTypeMinor", QStringLiteral("نحوه آشنايي"));
    lookup("sltCustomer", "vwOrganizations", "vwOrganizationMinor", QStringLiteral("مشتري"));
    lookup("sltCreator", "vwUserMajor", "vwUserMinor", QStringLiteral("تهيه كننده"));
    lookup("sltPromoterPath", "vwDistributionPathMajor", "vwDistributionPathMinor",
           QStringLiteral("منطقه، مسير"));
    lookup("sltCustomerPath", "vwDistributionPathMajor", "vwDistributionPathMinor",
           QStringLiteral("منطقه، مسير"));
    lookup("gmpProductGroup", "vwGoodGroup_CodeMajor", "vwGoodGroupMinor",
           QStringLiteral("گروههاي كالا"));
    lookup("gmpBranch", "vwAccountBranchMajor", "vwAccountBranchMinor", QStringLiteral("شعبه"));
    lookup("sltPromoter", "vwSalePromoterMajor", "vwSalePromoterMinor", QStringLiteral("كارمندان"));
    lookup("sltPromoter2", "vwSalePromoterMajor", "vwSalePromoterMinor",
           QStringLiteral("كارمندان"));
    lookup("gmpBuyerEmployee", "vwEmployee", "vwEmployeeMinor", QStringLiteral("كارمندان خريدار"));
    lookup("mptContract", "vwAccountContractProject", "vwAccountContractProjectMinor",
           QStringLiteral("پروژه/قرارداد"));
    lookup("sltPricingMethod", "vwSalePricingMethodMajor", "vwSalePricingMethodMinor",
           QStringLiteral("نوع قيمتگذاري"));
}

// Customers of the user's work activities, or all when the user has none.
void SearchFormLogic::InitializeSearch() {
    const int user = ctx_.globals.CurrentUserID;
    selector(QStringLiteral("sltCustomer"))
        .setListFilter({QStringLiteral("ID in (Select o.ID from tblOrganization o Where "
                                       "o.WorkActivityID in (Select w.WorkActivityID from "
                                       "tblUserOrganizationWorkActivity w Where w.UserID=?)) or "
                                       "not exists(Select w.WorkActivityID from "
                                       "tblUserOrganizationWorkActivity w Where w.UserID=?)"),
                        {user, user}});
    invoiceTypes_ = readList(QStringLiteral("tblSaleInvoiceType"));
    preconditions_ = readList(QStringLiteral("tblSalePreCondition"));
    ClearForm();
}

ListItems SearchFormLogic::readList(const QString& table) {
    ListItems items;
    for (const Row& row : ctx_.db().query(QStringLiteral("select ID, Name from ") + table +
                                          QStringLiteral(" order by ID")))
        items.append({row.text(u"Name"), row.toInt(u"ID")});
    return items;
}

void SearchFormLogic::ClearForm() {
    for (auto& [control, model] : selectors_)
        model->Clear();
    result_.clear();
    Q_EMIT cleared();
}

SelectorModel& SearchFormLogic::selector(const QString& control) {
    return *selectors_.at(control);
}

void SearchFormLogic::cmdSearch(SearchValues values) {
    for (const auto& [control, model] : selectors_)
        if (!model->IsEmpty()) values.insert(control, model->ID());
    result_.setSource({SearchCondition(ctx_, values)});
}

QString SearchFormLogic::pickedIds() {
    QStringList ids;
    for (qint64 id : result_.markedIds())
        ids << QString::number(id);
    return ids.join(QLatin1Char(','));
}

}  // namespace si

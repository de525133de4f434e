#include "invoice/HeaderLogic.h"

#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "invoice/TotalsLogic.h"

namespace si {

HeaderLogic::HeaderLogic(InvoiceServices& services, QObject* parent)
    : QObject(parent), services_(services), ctx_(services.ctx), doc_(services.doc) {
    connect(&doc_.sltCustomer, &SelectorModel::changed, this, &HeaderLogic::sltCustomer_Change);
    connect(&doc_.sltInventory, &SelectorModel::changed, this, &HeaderLogic::sltInventory_Change);
    connect(&doc_.sltType, &SelectorModel::changed, this, &HeaderLogic::sltType_Change);
    connect(&doc_.sltBranch, &SelectorModel::changed, this, &HeaderLogic::sltBranch_Change);
    connect(&doc_.sltObject1, &SelectorModel::changed, this, &HeaderLogic::sltObject1_Change);
    connect(&doc_.sltObject2, &SelectorModel::changed, this, &HeaderLogic::sltObject2_Change);
    connect(&doc_.sltPromoter, &SelectorModel::changed, this, &HeaderLogic::sltPromoter_Change);
    connect(&doc_.sltPreCond, &SelectorModel::changed, this, &HeaderLogic::sltPreCond_Change);
}

bool HeaderLogic::inEntryMode() const {
    return doc_.FormMode == kModeEdit || doc_.FormMode == kModeNew;
}

void HeaderLogic::configure(SelectorModel& s, const char* major, const char* minor,
                            const QString& caption) {
    s.setViews(QString::fromLatin1(major), QString::fromLatin1(minor));
    s.setCaption(caption);
}

void HeaderLogic::initialize() {
    const bool positionCustomers = ctx_.params.flag(P::PositionCustomersOnly);
    const bool withAddress = ctx_.params.flag(P::CustomerListWithAddress);
    configure(doc_.sltCustomer,
              positionCustomers
                  ? "vwOrganizations"
                  : (withAddress ? "vwOrganizationCodeAddressMajor" : "vwOrganizationMajor"),
              "vwOrganizationMinor", QStringLiteral("مشتري"));
    if (positionCustomers) doc_.sltCustomer.setListFilter(positionCustomersCondition());
    configure(doc_.sltInventory, "vwInventoryMajor", "vwInventoryMinor", QStringLiteral("انبار"));
    configure(doc_.sltBranch, "vwAccountBranchMajor", "vwAccountBranchMinor",
              QStringLiteral("شعبه"));
    configure(doc_.sltContract, "vwAccountContractProject", "vwAccountContractProjectMinor",
              QStringLiteral("قرارداد"));
    configure(doc_.sltDeliverType, "vwSaleDeliverTypeMajor", "vwSaleDeliverTypeMinor",
              QStringLiteral("نحوه تحويل"));
    configure(doc_.sltIntroductionType, "vwOrganizationIntroductionTypeMajor",
              "vwOrganizationIntroductionTypeMinor", QStringLiteral("نحوه آشنايي"));
    configure(doc_.sltPreCond, "vwSalePreConditionMajor", "vwSalePreConditionMinor",
              QStringLiteral("پيش شرط"));
    configure(doc_.sltPromoter2, "vwSalePromoterMajor", "vwSalePromoterMinor",
              QStringLiteral("بازارياب 2"));
    configure(doc_.sltAchiever, "vwSalePromoterMajor", "vwSalePromoterMinor",
              QStringLiteral("وصول كننده"));
    configure(doc_.sltDistributer, "vwSalePromoterMajor", "vwSalePromoterMinor",
              QStringLiteral("توزيع كننده"));
    doc_.sltObject1.setObjectInUse(false);
    doc_.sltObject2.setObjectInUse(false);
    loadMessages();
    doc_.defaultCustomerID = ctx_.params.number(P::DefaultCustomer);
    if (doc_.defaultCustomerID == -1) {
        const QVariant id =
            ctx_.db().scalar(QStringLiteral("Select coalesce(ID,-1) as DefaultCustomerID from "
                                            "tblOrganization where Name ='مشتريان'"));
        doc_.defaultCustomerID = id.isNull() ? -1 : id.toInt();
    }
}

// With parameter 309 only the customers whose accounts are open to the user's position are
// listed: a rule of access that every change of the customer list keeps.
SqlCondition HeaderLogic::positionCustomersCondition() const {
    if (!ctx_.params.flag(P::PositionCustomersOnly)) return {};
    return {QStringLiteral("ID in (Select RelatedObjectID from tblAccountRelatedObjects Where "
                           "RelatedClassID = 7 and AccountID in (select AccountID from "
                           "vwAccountSecurePositions Where PositionID = ?))"),
            {ctx_.globals.CurrentPositionID}};
}

void HeaderLogic::loadMessages() {
    doc_.messages.clear();
    doc_.defaultMessageIndex = -1;
    const RowSet rows = ctx_.db().query(QStringLiteral("Select * from tblSaleMessage Order by ID"));
    for (const Row& r : rows) {
        if (r.toBool(u"IsPrimary") && doc_.defaultMessageIndex < 0)
            doc_.defaultMessageIndex = static_cast<int>(doc_.messages.size());
        doc_.messages << r.text(u"Message");
    }
}

QString HeaderLogic::codeText(const QVariant& code) {
    if (code.isNull() || !code.isValid()) return {};
    const double n = ToNumber(code);
    if (n == -1) return QStringLiteral("ندارد");
    return QString::number(static_cast<qint64>(n));
}

bool HeaderLogic::CheckUserInvoiceTypeRight(int userId, int invoiceType) {
    return ctx_.db()
        .first(QStringLiteral(
                   "Select * from tblUserSaleInvoiceType Where UserID=? and InvoiceTypeID=?"),
               {userId, invoiceType})
        .has_value();
}

int HeaderLogic::GetPreConditionClearDays(int preCondition) {
    auto row = ctx_.db().first(
        QStringLiteral("Select ClearDateNum from tblSalePreCondition Where ID=?"), {preCondition});
    return row ? static_cast<int>(ToNumber(row->value(u"ClearDateNum"))) : -1;
}

int HeaderLogic::GetCustomerIntroductionType(int organization) {
    return static_cast<int>(ToNumber(ctx_.db().scalar(
        QStringLiteral("select IntroductionTypeID from tblOrganization Where ID=?"),
        {organization})));
}

bool HeaderLogic::TypeGeneratesSaleAssignment(int invoiceType) {
    return ctx_.db()
               .scalar(
                   QStringLiteral(
                       "Select coalesce(GenerateSaleAssignment, 0) as GenerateSaleAssignment  from "
                       "tblSaleInvoiceType Where ID=?"),
                   {invoiceType})
               .toInt() == 1;
}

void HeaderLogic::setTopID(SelectorModel& selector) {
    const int top = selector.topID();
    if (top > 0) selector.setID(top, true);
}

}  // namespace si

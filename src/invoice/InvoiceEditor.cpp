#include "invoice/InvoiceEditor.h"

#include "common/Jalali.h"
#include "common/Lookups.h"
#include "common/Numbers.h"
#include "common/Period.h"
#include "common/UpdateColumns.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"

namespace si {

InvoiceEditor::InvoiceEditor(Context& ctx)
    : ctx_(ctx), doc_(ctx), services_(std::make_unique<InvoiceServices>(ctx, doc_)) {}

InvoiceEditor::~InvoiceEditor() = default;

void InvoiceEditor::configureSelectors() {
    const int user = ctx_.globals.CurrentUserID;
    doc_.sltPricingMethod.setViews(QStringLiteral("vwSalePricingMethodMajor"),
                                   QStringLiteral("vwSalePricingMethodMinor"));
    doc_.sltPricingMethod.setCaption(QStringLiteral("نوع قيمتگذاري"));
    doc_.sltCRMCardType.setViews(QStringLiteral("vwCRMCardTypeMajor"),
                                 QStringLiteral("vwCRMCardTypeMinor"));
    doc_.sltCRMCardType.setCaption(QStringLiteral("نوع کارت"));
    doc_.sltPaidByCash.setViews(QStringLiteral("vwSalePaidByCashMajor"),
                                QStringLiteral("vwSalePaidByCashMinor"));
    doc_.sltPaidByCash.setCaption(QStringLiteral("نوع پرداخت"));
    doc_.sltPaidByCash.setListFilter(
        {QStringLiteral(
             "ID in (Select x.PaidByCashID from tblSalePaidByCashUser x where x.UserID=?) or not "
             "exists(Select x.PaidByCashID from tblSalePaidByCashUser x where x.UserID=?)"),
         {user, user}});
    doc_.sltCreatorEmployee.setViews(QStringLiteral("vwEmployee_SaleInvoiceMajor"),
                                     QStringLiteral("vwEmployeeMinor"));
    doc_.sltCreatorEmployee.setCaption(QStringLiteral("تهيه كننده فيش"));
    doc_.sltCreator.setViews(QStringLiteral("vwUserMajor"), QStringLiteral("vwUserMinor"));
    doc_.sltType.setViews(QStringLiteral("vwSaleInvoiceTypeMajor"),
                          QStringLiteral("vwSaleInvoiceTypeMinor"));
}

void InvoiceEditor::readUserFacts() {
    Session& s = ctx_.db();
    if (auto user = s.first(QStringLiteral("select * from tbluser where ID =?"),
                            {ctx_.globals.CurrentUserID})) {
        ctx_.globals.CurrentUserFullName = user->text(u"FullName");
        doc_.userBranchID = static_cast<int>(ToNumber(user->value(u"BranchID")));
    }
    const QVariant inventory = s.scalar(
        QStringLiteral("Select InventoryID from tblInventoryUser Where IsPrimary=1 and UserID=?"),
        {ctx_.globals.CurrentUserID});
    doc_.userPrimaryInventoryID = static_cast<int>(ToNumber(inventory));
}

void InvoiceEditor::prepare() {
    if (prepared_) return;
    OpenSession(ctx_);
    LoadSystemParameters(ctx_);
    // A database without the update columns and the row version gets them the first time.
    AddInvoiceColumnsWhenMissing(ctx_.db());
    configureSelectors();
    LoadSystemParameters(ctx_);
    doc_.sltPromoter.setViews(QStringLiteral("vwSalePromoterMajor"),
                              QStringLiteral("vwSalePromoterMinor"));
    doc_.sltPromoter.setCaption(QStringLiteral("كارمندان"));
    services_->header->initialize();
    const int promoter = ctx_.params.number(P::DefaultPromoter);
    const int promoter2 = ctx_.params.number(P::DefaultPromoter2);
    if (promoter > 0) doc_.sltPromoter.setID(promoter);
    if (promoter2 > 0) doc_.sltPromoter2.setID(promoter2);
    LoadActivePeriod(ctx_);
    doc_.basePath = InstallationBasePath(ctx_.db());
    const QVariant number210 =
        ctx_.db().scalar(QStringLiteral("Select Value From tblZelorSystemParameters Where ID = ?"),
                         {P::FormWideNumber});
    services_->lines->configureColumns();
    doc_.formNumber210 =
        static_cast<int>(ToNumber(number210.isNull() ? QStringLiteral("0") : number210.toString()));
    readUserFacts();
    if (ctx_.params.flag(P::ShopMode)) cashTurns_.Fill(ctx_.db(), ctx_.globals.CurrentUserID);
    prepared_ = true;
}

void InvoiceEditor::reset() {
    doc_.clear();
    services_->header->FillDefaults();
}

bool InvoiceEditor::openForView(int id) {
    if (id <= 0 ||
        ctx_.db().call(QStringLiteral("spSaleIsInvoiceAvailable"), QVariantList{id}).toInt() <= 0)
        return false;
    reset();
    doc_.FormMode = kModeView;
    services_->header->FillData(id);
    return true;
}

bool InvoiceEditor::openForEdit(int id) {
    reset();
    doc_.FormMode = kModeEdit;
    if (!services_->header->FillData(id)) return false;
    if (ctx_.params.flag(P::EditResetsDate)) {
        doc_.datCreateDate = ctx_.db().today();
        services_->header->datCreateDate_Change();
        doc_.txtTime = fnZelorGetTime(ctx_.db().now());
    }
    doc_.sltPricingMethod.setListFilter(PricingLogic::userMethodFilter(ctx_.globals.CurrentUserID));
    return true;
}

}  // namespace si

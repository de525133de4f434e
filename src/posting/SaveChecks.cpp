// The first checks of SaveInvoice, in their order: rights, the position's credit level, the
// settlement term, the date and the mandatory selections, credit and promoters, zero prices, the
// invoice type against the inventory, duplicates and the active inventory. Each failure shows its
// message, moves the focus and stops the chain; nothing is written before the chain has passed.

#include <QSet>

#include "common/Codes.h"
#include "common/Lookups.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/Period.h"
#include "invoice/BilledParty.h"
#include "invoice/CreditLogic.h"
#include "invoice/DiscountLogic.h"
#include "invoice/InvoiceServices.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "posting/SaveFront.h"
#include "posting/SaveRun.h"

namespace si {

namespace {
const QString kProblem = QStringLiteral("اشكال");
const QString kProblemPersian = QStringLiteral("اشکال");
const QString kWarning = QStringLiteral("هشدار");
const QString kQuestion = QStringLiteral("پرسش");
const QString kCustomerMissing = QStringLiteral("مشتري انتخاب نشده است.");
constexpr qsizetype kUnitsPerStatement = 500;
}  // namespace

SaveRun::SaveRun(InvoiceServices& services, SaveFront& front, SaveSeams& seams, bool IsFinal)
    : front_(front),
      doc_(services.doc),
      services_(services),
      ctx_(services.ctx),
      seams_(seams),
      IsFinal_(IsFinal) {}

SaveRun::~SaveRun() = default;

bool SaveRun::shopMode() const {
    return ctx_.params.flag(P::ShopMode);
}
bool SaveRun::IsCashSale() const {
    return doc_.sltPaidByCash.ID() != 2;
}
int SaveRun::invoiceID() const {
    return doc_.invoiceID();
}

bool SaveRun::stop(const QString& caption, const QString& text, const QString& focus) {
    ShowMessage(ctx_, caption, text);
    if (!focus.isEmpty()) front_.focus(focus);
    return false;
}

bool SaveRun::RunChecks() {
    using Check = bool (SaveRun::*)();
    static const Check chain[] = {&SaveRun::CheckRights,
                                  &SaveRun::CheckTexts,
                                  &SaveRun::CheckCreditLevel,
                                  &SaveRun::CheckLoanExpire,
                                  &SaveRun::CheckRequiredFields,
                                  &SaveRun::CheckLinePromoters,
                                  &SaveRun::CheckCreditAndPromoters,
                                  &SaveRun::CheckZeroPrices,
                                  &SaveRun::CheckCustomerAndLines,
                                  &SaveRun::CheckInvoiceType,
                                  &SaveRun::CheckInventoryOfType,
                                  &SaveRun::HasDuplicateRows,
                                  &SaveRun::CheckActiveInventory,
                                  &SaveRun::CheckCustomerAccess,
                                  &SaveRun::CheckForSale,
                                  &SaveRun::CheckStock,
                                  &SaveRun::CheckTraces,
                                  &SaveRun::CheckCustomerAccount,
                                  &SaveRun::CheckDebitCeiling,
                                  &SaveRun::CheckCashTurn,
                                  &SaveRun::CheckFinalizedDocuments,
                                  &SaveRun::AskRenumbering};
    for (Check check : chain)
        if (!(this->*check)()) return false;
    return true;
}

// The right of the command.
bool SaveRun::CheckRights() {
    if (HasRight(ctx_, IsFinal_ ? Right::FinalSave : Right::TempSave)) return true;
    return stop(kErrorCaption, kNoRightMessage);
}

// The credit level of the user's position: the highest level of the position is its ceiling; a
// total equal to it passes.
bool SaveRun::CheckCreditLevel() {
    const auto level = ctx_.db().first(
        QStringLiteral("Select x.UpToValue from tblSaleCreditLevel x Where x.ID in (select "
                       "p.SaleCreditLevelID from tblPosition p where p.ID = ?) order by "
                       "x.UpToValue Desc limit 1"),
        {ctx_.globals.CurrentPositionID});
    if (!level) return true;
    const Money upTo = level->money(u"UpToValue");
    if (doc_.totals.GrandTotal <= upTo) return true;
    return stop(kProblem,
                QStringLiteral("سقف قابل مجاز براي تاييد سفارش يا فاكتور براي شما محدود به ”") +
                    upTo.toString() + QStringLiteral("“ است!"));
}

// The settlement term against the maximum the credit look-up left in the tag.
bool SaveRun::CheckLoanExpire() {
    const double maximum = ToNumber(doc_.txtLoanExpireTag);
    if (maximum <= 0 || ToNumber(doc_.txtLoanExpire) <= maximum) return true;
    return stop(kErrorCaption,
                QStringLiteral("حداكثر مهلت تسويه بايد ”") + doc_.txtLoanExpireTag.trimmed() +
                    QStringLiteral("“ باشد."),
                QStringLiteral("txtLoanExpire"));
}

// The date within the active period, the document accounts, the customer (or its accounting
// objects) and the selections that parameters make mandatory.
bool SaveRun::CheckRequiredFields() {
    if (const auto outside = DateOutsideActivePeriod(ctx_, doc_.datCreateDate))
        return stop(kErrorCaption, *outside, QStringLiteral("datCreateDate"));
    const SystemParameters& p = ctx_.params;
    const bool objects = p.flag(P::AccountObjects);
    const InvoiceTypeAccounts& a = doc_.accounts;
    if (IsFinal_ && objects &&
        (a.CreditAccountID == -1 || a.DebitAccountID == -1 || a.TaxAccountID == -1))
        return stop(kErrorCaption,
                    QStringLiteral("اطلاعات موردنياز براي ثبت سند حسابداري مشخص نشده است."));
    if (objects) {
        for (SelectorModel* object : {&doc_.sltObject1, &doc_.sltObject2}) {
            const QString name = object == &doc_.sltObject1 ? QStringLiteral("sltObject1")
                                                            : QStringLiteral("sltObject2");
            if (front_.isShown(name) && object->IsEmpty())
                return stop(kErrorCaption, kCustomerMissing, name);
        }
    }
    if (front_.isShown(QStringLiteral("sltCustomer")) && doc_.sltCustomer.IsEmpty())
        return stop(kErrorCaption, kCustomerMissing, QStringLiteral("sltCustomer"));
    if (objects && doc_.sltCustomer.IsEmpty()) {
        const int billed = BilledOrganization(BilledParties::of(doc_));
        if (billed > 0) doc_.sltCustomer.setID(billed);
    }
    if (p.flag(P::RequirePromoter) && doc_.sltPromoter.IsEmpty())
        return stop(kErrorCaption, QStringLiteral("بازارياب انتخاب نشده است."));
    if (p.flag(P::RequirePromoter2) && doc_.sltPromoter2.IsEmpty())
        return stop(kErrorCaption, QStringLiteral("بازارياب 2 انتخاب نشده است."));
    return true;
}

// Promoters of the lines, the branch and the introduction type.
bool SaveRun::CheckLinePromoters() {
    const SystemParameters& p = ctx_.params;
    if (p.flag(P::RequireLinePromoter)) {
        const QVector<int> rows = doc_.flexDetail.filledRows();
        for (int i = 0; i < rows.size(); ++i)
            if (doc_.flexDetail.line(rows[i]).PromoterID <= 0)
                return stop(kErrorCaption,
                            QStringLiteral("بازارياب رديف ") + QString::number(rows[i] + 1) +
                                QStringLiteral("-ام انتخاب نشده است."),
                            QStringLiteral("flexDetail"));
    }
    if (p.flag(P::RequireBranch) && doc_.sltBranch.IsEmpty())
        return stop(kErrorCaption, QStringLiteral("شعبه انتخاب نشده است."));
    if (p.flag(P::RequireIntroduction) && doc_.sltIntroductionType.IsEmpty())
        return stop(kProblem, QStringLiteral("نوع آشنايي مشخص نشده است!"));
    return true;
}

// The credit used against the credit left, and the promoters' outstanding sales.
bool SaveRun::CheckCreditAndPromoters() {
    const SystemParameters& p = ctx_.params;
    if (p.number(P::CreditCashBox) > 0 &&
        ParseAmount(doc_.txtRemCredit) < ParseAmount(doc_.txtUsedCredit))
        return stop(kErrorCaption,
                    QStringLiteral("ميزان استفاده شده از اعتبار بيشتر از ميزان خود اعتبار است."));
    const Money total = doc_.totals.GrandTotal;
    if (p.flag(P::PromoterRule) &&
        !services_.credit->CheckPromoterNonAchieved(doc_.sltPromoter.ID(), total))
        return false;
    if (p.flag(P::Promoter2Rule) &&
        !services_.credit->CheckPromoterNonAchieved(doc_.sltPromoter2.ID(), total))
        return false;
    return true;
}

// CheckZeroPrices: rows with a goods name and a unit price of 0.
bool SaveRun::CheckZeroPrices() {
    bool zero = false;
    for (const InvoiceLine& l : doc_.flexDetail.allRows())
        if (!l.GoodName.isEmpty() && l.UnitPrice.isZero()) zero = true;
    if (!zero) return true;
    if (HasRight(ctx_, Right::ZeroPrices))
        return AskedYes(ctx_, kWarning,
                        QStringLiteral("برخي كالاها داراي قيمت صفر هستند, آيا براي عمل ثبت مطمئن "
                                       "هستيد؟"));
    return stop(QStringLiteral("اخطار"),
                QStringLiteral("به علت وجود قيمت كالاي صفر, ثبت ممكن نيست. نقش 90130"));
}

// The promoter is a leaf; the customer's credit, same-goods discounts, whole units and pricing
// methods, each by its own check.
bool SaveRun::CheckCustomerAndLines() {
    if (!IsLeafEmployee(ctx_.db(), doc_.sltPromoter.ID()))
        return stop(kErrorCaption, QStringLiteral("بازارياب انتخاب شده بايد برگ باشد."),
                    QStringLiteral("sltPromoter"));
    int organization = -1;
    if (!services_.credit->CheckCustomerCreditConstraints(
            organization, doc_.sltObject1.ID(), doc_.sltObject2.ID(), doc_.sltCustomer.ID(),
            doc_.Object1ClassID == ObjectClass::Organization,
            doc_.Object2ClassID == ObjectClass::Organization, doc_.sltCustomer.IsEmpty(),
            doc_.totals.GrandTotal))
        return false;
    if (!services_.discounts->CheckSameGoodsDiscounts()) return false;
    if (!CheckIntegerUnits()) return false;
    return services_.pricing->CheckPricingMethods();
}

// Whole quantities in whole-only units. The units' flags are read once for all lines; only a
// line in such a unit goes to the line logic, which reads its unit again just to refuse it.
bool SaveRun::CheckIntegerUnits() {
    const QVector<int> rows = doc_.flexDetail.filledRows();
    QList<int> units;
    for (int row : rows)
        if (!units.contains(doc_.flexDetail.line(row).ScaleID))
            units << doc_.flexDetail.line(row).ScaleID;
    QSet<int> wholeOnly;
    for (qsizetype i = 0; i < units.size(); i += kUnitsPerStatement) {
        const QList<int> slice = units.mid(i, kUnitsPerStatement);
        Params params;
        for (int unit : slice)
            params << unit;
        for (const Row& r : ctx_.db().query(
                 QStringLiteral("select ID from tblGoodScale where IsInteger = 1 and ID in (") +
                     QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                     QStringLiteral(")"),
                 params))
            wholeOnly.insert(r.toInt(u"ID"));
    }
    for (int row : rows)
        if (wholeOnly.contains(doc_.flexDetail.line(row).ScaleID) &&
            !services_.lines->checkIntegerUnit(row, true))
            return false;
    return true;
}

// GetGenerateSaleAssignment, and the wholesale question of the store version.
bool SaveRun::CheckInvoiceType() {
    Session& s = ctx_.db();
    const auto type = s.first(QStringLiteral("Select coalesce(GenerateSaleAssignment, 0) as "
                                             "GenerateSaleAssignment, Name from "
                                             "tblSaleInvoiceType Where ID = ?"),
                              {doc_.sltType.ID()});
    wholesale_ = type && type->toInt(u"GenerateSaleAssignment") != 0;
    typeName_ = type ? type->text(u"Name") : doc_.sltType.text();
    if (!wholesale_ || !shopMode()) return true;
    if (!AskedYes(ctx_, kQuestion,
                  QStringLiteral("فاکتور فروش نسخه فروشگاهي نبايد از نوع بنکداري «") + typeName_ +
                      QStringLiteral("» باشد. آيا از عمل خود مطمئن هستيد؟"))) {
        front_.focus(QStringLiteral("sltType"));
        return false;
    }
    if (HasRight(ctx_, Right::WholesaleInShop)) return true;
    return stop(kErrorCaption, kNoRightMessage);
}

// The inventory against the type: a wholesale type sells from an inventory with children, any other
// type from a leaf.
bool SaveRun::CheckInventoryOfType() {
    const bool hasChildren =
        ctx_.db()
            .first(QStringLiteral("Select ID from tblInventory Where ParentID = ? limit 1"),
                   {doc_.sltInventory.ID()})
            .has_value();
    const QString head = QStringLiteral("براي فاکتورهاي از نوع «") + typeName_;
    if (!wholesale_) {
        if (!hasChildren) return true;
        return stop(kProblemPersian, head + QStringLiteral("» انبار غير سطح فروش بايد انتخاب شود"),
                    QStringLiteral("sltInventory"));
    }
    if (!hasChildren)
        return stop(kProblemPersian, head + QStringLiteral("» انبار سطح فروش بايد انتخاب شود"),
                    QStringLiteral("sltInventory"));
    if (IsCashSale())
        return stop(kProblem,
                    QStringLiteral("فاكتورهاي از نوع بنكداري, نبايد بصورت نقدي ثبت شوند."),
                    QStringLiteral("sltPaidByCash"));
    return true;
}

// HasDuplicateRows (outside the store version): rows equal in barcode, description and unit.
bool SaveRun::HasDuplicateRows() {
    if (shopMode()) return true;
    QSet<QString> seen;
    for (const InvoiceLine& l : doc_.flexDetail.allRows()) {
        const QString key = l.BarCode.trimmed() + QChar(0x1F) + l.Description + QChar(0x1F) +
                            QString::number(l.ScaleID);
        if (seen.contains(key))
            return stop(kErrorCaption, QStringLiteral("سطرهاي تكراري وجود دارد"));
        seen.insert(key);
    }
    return true;
}

// The active inventory, and not a closed one. The state is read from the database, as another
// workstation may have closed the inventory since the form chose it.
bool SaveRun::CheckActiveInventory() {
    const int inventory = doc_.sltInventory.ID();
    if (inventory < 1) return stop(kErrorCaption, QStringLiteral("انبار فعال انتخاب نشده است."));
    const QVariant state = ctx_.db().scalar(
        QStringLiteral("Select StatusTypeID from tblInventory Where ID = ?"), {inventory});
    if (state.toInt() != 3) return true;
    return stop(kErrorCaption,
                QStringLiteral("انبار فعال شده بسته است. ازاينرو امكان ثبت نهايي فاكتور فروش كالا "
                               "وجود ندارد."));
}

}  // namespace si

#include "invoice/LineTableModel.h"

#include "common/Numbers.h"

namespace si {

namespace {

const char* const kTitles[Col::Count] = {"رديف",
                                         "كد ميلهاي",
                                         "كد كالا",
                                         "عنوان",
                                         "شرح کالا",
                                         "کدميله اي خدمات گرفته",
                                         "عنوان کالاي خدمات گرفته",
                                         "تعداد",
                                         "واحد",
                                         "تعداد به واحد پايه",
                                         "قيمت واحد",
                                         "قيمت واحد پايه",
                                         "سود تقريبي",
                                         "اجرت درصدي",
                                         "اجرت گرمي",
                                         "کل اجرت",
                                         "درصد سود",
                                         "کل سود",
                                         "حقالعملکاري",
                                         "درصد تخفيف",
                                         "مبلغ تخفيف كل",
                                         "مبلغ كل پس از تخفيف",
                                         "",
                                         "جمع ماليات و عوارض",
                                         "مبلغ كل",
                                         "",
                                         "تعداد در فاكتور",
                                         "تعداد رزرو",
                                         "تعداد بلوكه شده",
                                         "نوع تخفيف",
                                         "تعداد اوليه",
                                         "واحد اوليه",
                                         "دليل تعديل",
                                         "ماليات",
                                         "عوارض",
                                         "موجودي",
                                         "تعداد در فاكتورهاي موقت",
                                         "درصد تولد",
                                         "درصد تخفيف كارت",
                                         "ش.ر. قيمتگذاري",
                                         "قيمتگذاري",
                                         "ش.ر. بازارياب",
                                         "بازارياب",
                                         "اشانتيوني",
                                         "ش.ر. گروه کالا",
                                         "علامتي براي پروموشن",
                                         "علامتي براي درصد اتوماتيك پروموشن",
                                         "",
                                         "شماره قانون"};

// Columns that only the logic uses, and the precious-metal columns until a metal type is chosen.
bool hiddenByDefault(int col) {
    switch (col) {
        case Col::WagePercent:
        case Col::WagePerWeight:
        case Col::TotalWage:
        case Col::ProfitPercent:
        case Col::TotalProfit:
        case Col::Commission:
        case Col::ScaleID:
        case Col::Reserved25:
        case Col::GoodGroupID:
        case Col::AutoPromotionMark:
        case Col::Reserved47:
            return true;
        default:
            return false;
    }
}

int defaultWidth(int col) {
    switch (col) {
        case Col::Row:
            return 500;
        case Col::GoodName:
            return 2600;
        case Col::BarCode:
            return 1500;
        case Col::Description:
        case Col::PricingMethodName:
        case Col::PromoterName:
            return 1400;
        default:
            return 1000;
    }
}

QString number(double value) {
    return value == 0 ? QStringLiteral("0") : QString::number(value, 'g', 15);
}
QString id(int value) {
    return value < 0 ? QString() : QString::number(value);
}

}  // namespace

LineTableModel::LineTableModel(QObject* parent) : QAbstractTableModel(parent) {
    widths_.resize(Col::Count);
    for (int c = 0; c < Col::Count; ++c)
        widths_[c] = hiddenByDefault(c) ? 0 : defaultWidth(c);
    mask_ = QString(Col::Count, QLatin1Char('0'));
    second_ = QString(Col::Count, QLatin1Char('0'));
    rows_.append(InvoiceLine());
}

int LineTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows();
}

int LineTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Col::Count;
}

QString LineTableModel::columnTitle(int col) {
    return col >= 0 && col < Col::Count ? QString::fromUtf8(kTitles[col]) : QString();
}

QString LineTableModel::cellText(int row, int col) const {
    const InvoiceLine& l = rows_[row];
    const bool empty = !l.isFilled();
    if (col == Col::Row) return QString::number(row + 1);
    if (empty && col != Col::BarCode && col != Col::GoodCode) return {};
    switch (col) {
        case Col::BarCode:
            return l.BarCode;
        case Col::GoodCode:
            return l.GoodCode;
        case Col::GoodName:
            return l.GoodName;
        case Col::Description:
            return l.Description;
        case Col::ServicedBarCode:
            return l.ServicedBarCode;
        case Col::ServicedGoodName:
            return l.ServicedGoodName;
        case Col::Qty:
            return number(l.Qty);
        case Col::UnitName:
            return l.UnitName;
        case Col::BaseQty:
            return number(l.BaseQty);
        case Col::UnitPrice:
            return FormatAmount(l.UnitPrice);
        case Col::BaseUnitPrice:
            return FormatAmount(l.BaseUnitPrice);
        case Col::ApproxProfit:
            return FormatAmount(l.ApproxProfit);
        case Col::WagePercent:
            return number(l.WagePercent);
        case Col::WagePerWeight:
            return FormatAmount(l.WagePerWeight);
        case Col::TotalWage:
            return FormatAmount(l.TotalWage);
        case Col::ProfitPercent:
            return number(l.ProfitPercent);
        case Col::TotalProfit:
            return FormatAmount(l.TotalProfit);
        case Col::Commission:
            return FormatAmount(l.Commission);
        case Col::DiscountPercent:
            return number(l.DiscountPercent);
        case Col::DiscountValue:
            return FormatAmount(l.DiscountValue);
        case Col::NetAmount:
            return FormatAmount(l.NetAmount);
        case Col::ScaleID:
            return id(l.ScaleID);
        case Col::TaxAndDuty:
            return FormatAmount(l.TaxAndDuty);
        case Col::LineTotal:
            return FormatAmount(l.LineTotal);
        case Col::StoredQty:
            return number(l.StoredQty);
        case Col::ReservedQty:
            return number(l.ReservedQty);
        case Col::BlockedQty:
            return number(l.BlockedQty);
        case Col::DiscountKind:
            return QString::number(l.DiscountKind);
        case Col::InitialQty:
            return l.InitialQty;
        case Col::InitialScaleID:
            return id(l.InitialScaleID);
        case Col::ChangeReason:
            return l.ChangeReason;
        case Col::Tax:
            return FormatAmount(l.Tax);
        case Col::Duty:
            return FormatAmount(l.Duty);
        case Col::Stock:
            return number(l.Stock);
        case Col::TempQty:
            return number(l.TempQty);
        case Col::BirthdayPercent:
            return number(l.BirthdayPercent);
        case Col::CardPercent:
            return number(l.CardPercent);
        case Col::PricingMethodID:
            return id(l.PricingMethodID);
        case Col::PricingMethodName:
            return l.PricingMethodName;
        case Col::PromoterID:
            return id(l.PromoterID);
        case Col::PromoterName:
            return l.PromoterName;
        case Col::IsEchantillon:
            return l.IsEchantillon ? QStringLiteral("1") : QString();
        case Col::GoodGroupID:
            return id(l.GoodGroupID);
        case Col::PromotionMark:
            return l.PromotionMark;
        case Col::AutoPromotionMark:
            return l.AutoPromotionMark;
        case Col::PromotionRule:
            return l.PromotionRule;
        default:
            return {};
    }
}

QVariant LineTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const int c = index.column();
        const bool text = c == Col::GoodName || c == Col::Description || c == Col::UnitName ||
                          c == Col::PricingMethodName || c == Col::PromoterName ||
                          c == Col::ServicedGoodName;
        return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant LineTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The tooltip is the whole title, for a header too narrow to show it.
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (orientation == Qt::Horizontal) return columnTitle(section);
    return {};
}

Qt::ItemFlags LineTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.isValid() && editable_ && isColumnEditable(index.column())) f |= Qt::ItemIsEditable;
    return f;
}

bool LineTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    Q_EMIT editRequested(index.row(), index.column(), value.toString());
    return false;
}

QVector<int> LineTableModel::filledRows() const {
    QVector<int> list;
    for (int r = 0; r < rows(); ++r)
        if (rows_[r].isFilled()) list.append(r);
    return list;
}

int LineTableModel::filledCount() const {
    int n = 0;
    for (const InvoiceLine& l : rows_)
        n += l.isFilled() ? 1 : 0;
    return n;
}

void LineTableModel::lineChanged(int row) {
    Q_EMIT dataChanged(index(row, 0), index(row, Col::Count - 1));
}

void LineTableModel::replaceLine(int row, const InvoiceLine& line) {
    rows_[row] = line;
    lineChanged(row);
}

int LineTableModel::appendLine(const InvoiceLine& line) {
    const int row = rows() - 1;
    beginInsertRows({}, row, row);
    rows_.insert(row, line);
    endInsertRows();
    return row;
}

void LineTableModel::AddNewLine() {
    beginInsertRows({}, rows(), rows());
    rows_.append(InvoiceLine());
    endInsertRows();
}

void LineTableModel::DeleteLine(int row) {
    if (row < 0 || row >= rows()) return;
    beginRemoveRows({}, row, row);
    rows_.remove(row);
    endRemoveRows();
    ensureTrailingEmptyRow();
    if (row < rows()) Q_EMIT dataChanged(index(row, Col::Row), index(rows() - 1, Col::Row));
}

void LineTableModel::clear() {
    beginResetModel();
    rows_.clear();
    rows_.append(InvoiceLine());
    endResetModel();
}

void LineTableModel::ensureTrailingEmptyRow() {
    if (rows_.isEmpty() || rows_.back().isFilled()) AddNewLine();
}

void LineTableModel::setLines(const QVector<InvoiceLine>& lines) {
    beginResetModel();
    rows_ = lines;
    rows_.append(InvoiceLine());
    endResetModel();
}

void LineTableModel::restore(const State& state) {
    beginResetModel();
    rows_ = state.rows;
    mask_ = state.mask;
    second_ = state.second;
    editable_ = state.editable;
    endResetModel();
    if (widths_ == state.widths) return;
    widths_ = state.widths;
    Q_EMIT widthsChanged();
}

void LineTableModel::setColumnWidth(int col, int width) {
    if (col < 0 || col >= Col::Count || widths_[col] == width) return;
    widths_[col] = width;
    Q_EMIT widthsChanged();
}

void LineTableModel::padEditableMask(int columns) {
    if (mask_.size() < columns) mask_ = mask_.leftJustified(columns, QLatin1Char('0'));
    if (second_.size() < columns) second_ = second_.leftJustified(columns, QLatin1Char('0'));
}

void LineTableModel::DoEditableCol(int col, bool editable, bool secondFlag) {
    padEditableMask(col + 1);
    mask_[col] = editable ? QLatin1Char('1') : QLatin1Char('0');
    second_[col] = secondFlag ? QLatin1Char('1') : QLatin1Char('0');
}

bool LineTableModel::isColumnEditable(int col) const {
    return col >= 0 && col < mask_.size() && mask_[col] == QLatin1Char('1');
}

bool LineTableModel::columnSecondFlag(int col) const {
    return col >= 0 && col < second_.size() && second_[col] == QLatin1Char('1');
}

}  // namespace si

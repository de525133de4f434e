#include "linked/SelectAccountLogic.h"

#include "linked/SiblingLauncher.h"

namespace si {

SelectAccountLogic::SelectAccountLogic(Context& ctx, QVector<CustomerAccount> accounts,
                                       QString message)
    : ctx_(ctx), accounts_(std::move(accounts)), message_(std::move(message)) {}

SelectAccountLogic::~SelectAccountLogic() = default;

const QStringList& SelectAccountLogic::headers() {
    static const QStringList names = {
        QStringLiteral("رديف"),         QStringLiteral("شماره رايانهاي"),
        QStringLiteral("كد حساب"),      QStringLiteral("نام حساب"),
        QStringLiteral("كد مادر حساب"), QStringLiteral("نام مادر حساب")};
    return names;
}

QString SelectAccountLogic::cell(int row, int column) const {
    const CustomerAccount& a = accounts_.at(row);
    switch (column) {
        case 0:
            return QString::number(row + 1);
        case 1:
            return QString::number(a.id);
        case 2:
            return a.AccountCode;
        case 3:
            return a.AccountTitle;
        case 4:
            return a.MotherCode;
        case 5:
            return a.MotherTitle;
        default:
            return {};
    }
}

// The chooser hands its control the session in its own order: the connection first.
QObject* SelectAccountLogic::Form_Load() {
    detail_ = ctx_.components->create(kAccountDetailProgId);
    if (!detail_) return nullptr;
    const SiblingProperties session = {
        {"OLEConnectionString", ctx_.globals.CurrentConnectionString},
        {"UserID", ctx_.globals.CurrentUserID},
        {"PositionID", ctx_.globals.CurrentPositionID},
        {"EmployeeID", ctx_.globals.CurrentEmployeeID}};
    if (!CallSibling(ctx_, *detail_, kAccountDetailProgId, {session, nullptr, {}})) detail_.reset();
    return detail_.get();
}

void SelectAccountLogic::FlexAccount_RowSelected(int row) {
    if (!detail_ || row < 0 || row >= rowCount()) return;
    const int account = cell(row, 1).toInt();
    CallSibling(ctx_, *detail_, kAccountDetailProgId, {{}, "ShowAccount", {account}});
}

void SelectAccountLogic::cmdVisOK_Click(int currentRow) {
    choice_ = currentRow >= 0 && currentRow < rowCount() ? cell(currentRow, 1).toInt() : -1;
}

}  // namespace si

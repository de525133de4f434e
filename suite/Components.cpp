#include "suite/Components.h"

#include "suite/BackToTempComponent.h"
#include "suite/BoxTurnComponent.h"
#include "suite/InventoryTrace.h"
#include "suite/LedgerViewers.h"
#include "suite/MessageBoxComponent.h"
#include "suite/ReceiptBoxComponent.h"
#include "suite/report/ReportComponent.h"

namespace si::suite {

namespace {

// The receipt windows of the cash-box module, by ProgID: the window's name and title.
void registerReceiptBoxes(ComponentRegistry& registry) {
    const char* const boxes[][3] = {
        {"comBoxReceiveCash.comBoxReceiveCash1", "frmBoxReceiveCash", "دريافت نقدي صندوق"},
        {"comBoxReceive.comBoxReceive1", "frmBoxReceive", "دريافت وجه"},
        {"comBoxPayCash.comBoxPayCash1", "frmBoxPayCash", "دريافت نقدي"},
        {"comBoxReceivePortion.comBoxRecPortion", "frmBoxRecPortion", "دريافت قسط"},
        {"VORReceiveGroup.comBoxGroupRec", "frmBoxGroupRec", "دريافت گروهي"},
        {"comBoxPublicReceive.comBoxPublicRec", "frmBoxPublicRec", "دريافت عمومي"}};
    for (const auto& [progId, name, title] : boxes)
        registry.add(QString::fromLatin1(progId),
                     [name = QString::fromLatin1(name), title = QString::fromUtf8(title)] {
                         return std::make_unique<ReceiptBoxComponent>(name, title);
                     });
}

}  // namespace

void RegisterComponents(ComponentRegistry& registry) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [] { return std::make_unique<MessageBoxComponent>(); });
    registry.add(QStringLiteral("vorInvTrace.vorInvTracePpt1"),
                 [] { return std::make_unique<InventoryTrace>(); });
    registry.add(QStringLiteral("comBoxTurn.comBoxTurn1"),
                 [] { return std::make_unique<BoxTurnComponent>(); });
    registry.add(QStringLiteral("comCrystalReport.comCrystalRpt"),
                 [] { return std::make_unique<ReportComponent>(); });
    registry.add(QStringLiteral("comAccountDoc.comAccountDoc1"),
                 [] { return std::make_unique<AccountDocumentComponent>(); });
    registry.add(QStringLiteral("comSaleAssignment.comSaleAssign"),
                 [] { return std::make_unique<SaleAssignmentComponent>(); });
    registry.add(QStringLiteral("comBackToTempState.comBackToTemp"),
                 [] { return std::make_unique<BackToTempComponent>(); });
    registry.add(QStringLiteral("comAccountDetail.comAccountDetail1"),
                 [] { return std::make_unique<AccountDetailComponent>(); });
    registerReceiptBoxes(registry);
}

}  // namespace si::suite

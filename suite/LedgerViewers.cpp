#include "suite/LedgerViewers.h"

#include <QVBoxLayout>
#include <exception>

#include "common/Session.h"
#include "suite/LedgerWindows.h"

namespace si::suite {

void AccountDocumentComponent::View(int documentId) {
    attempt([&] {
        const auto document = ReadAccountDocument(session(), documentId);
        if (!document) {
            refuse(QStringLiteral("سند حسابداري با شماره رايانهاي %1 وجود ندارد.").arg(documentId));
            return;
        }
        AccountDocumentWindow window(*document);
        present(window);
    });
}

void SaleAssignmentComponent::View(int assignmentId) {
    attempt([&] {
        const auto assignment = ReadSaleAssignment(session(), assignmentId);
        if (!assignment) {
            refuse(QStringLiteral("حواله فروش با شماره رايانهاي %1 وجود ندارد.").arg(assignmentId));
            return;
        }
        SaleAssignmentWindow window(*assignment);
        present(window);
    });
}

AccountDetailComponent::AccountDetailComponent(QWidget* parent)
    : QWidget(parent), view_(new TurnoverView(this)) {
    setObjectName(QStringLiteral("comAccountDetail"));
    setWindowTitle(QStringLiteral("گردش حساب"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(820, 460);
}

AccountDetailComponent::~AccountDetailComponent() = default;

void AccountDetailComponent::ShowAccount(int accountId) {
    present([accountId](Session& db) { return TurnoverReader::ofAccount(db, accountId); });
}

void AccountDetailComponent::ShowObjectTurnover(int classId1, int objectId1, int classId2,
                                                int objectId2) {
    present([=](Session& db) {
        return TurnoverReader::ofObjects(db, {{classId1, objectId1}, {classId2, objectId2}});
    });
}

void AccountDetailComponent::present(const std::function<TurnoverReader(Session&)>& read) {
    error_.clear();
    try {
        view_->showTurnover(read(connection_.open(connectionString_)));
    } catch (const std::exception& e) {
        error_ = QString::fromUtf8(e.what());
        return;
    }
    if (!isWindow()) return;
    if (showWindow) {
        showWindow(*this);
        return;
    }
    show();
    raise();
    activateWindow();
}

}  // namespace si::suite

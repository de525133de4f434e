#include "suite/SiblingComponent.h"

#include <QDialog>
#include <exception>

#include "common/Session.h"

namespace si::suite {

OwnConnection::OwnConnection() = default;
OwnConnection::~OwnConnection() = default;

Session& OwnConnection::open(const QString& connectionString) {
    if (!session_ || opened_ != connectionString) {
        session_.reset();
        session_ = Session::openExisting(connectionString);
        opened_ = connectionString;
    }
    return *session_;
}

SiblingComponent::SiblingComponent() = default;
SiblingComponent::~SiblingComponent() = default;

void SiblingComponent::attempt(const std::function<void()>& work) {
    error_.clear();
    try {
        work();
    } catch (const std::exception& e) {
        error_ = QString::fromUtf8(e.what());
    }
}

void SiblingComponent::present(QDialog& window) {
    if (showWindow)
        showWindow(window);
    else
        window.exec();
}

}  // namespace si::suite

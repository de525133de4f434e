#pragma once
// A comSaleInvoice1 on the test database, logged in as the test's user, forms kept off screen.

#include <memory>

#include "component/comSaleInvoice1.h"
#include "support/ContextTest.h"

namespace si::test {

class ComponentFixture : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        control = std::make_unique<comSaleInvoice1>(components, procedures);
        control->showForms = false;
        control->setOLEConnectionString(database->connectionString());
        control->setUserID(static_cast<short>(ctx.globals.CurrentUserID));
        control->context().clock = [this] { return now; };
    }
    void TearDown() override {
        control.reset();
        ContextTest::TearDown();
    }
    std::unique_ptr<comSaleInvoice1> control;
};

}  // namespace si::test

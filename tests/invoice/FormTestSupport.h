#pragma once
// A FormMainLogic on a test database, with a scripted view that records what the logic asked of it.

#include <QStringList>
#include <memory>

#include "invoice/FormMainLogic.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si::test {

class ScriptedFormUi : public FormMainUi {
public:
    void showKeyMap() override { ++keyMaps; }
    int runSearch() override {
        ++searches;
        return searchAnswer;
    }
    void focusControl(const QString& name) override { focus = name; }
    void unloadForm() override { ++unloads; }
    void refreshView() override { ++refreshes; }

    int keyMaps = 0;
    int searches = 0;
    int searchAnswer = 0;
    int unloads = 0;
    int refreshes = 0;
    QString focus;
};

class FormTest : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        form = std::make_unique<FormMainLogic>(ctx);
        form->setUi(&ui);
    }
    void TearDown() override {
        form.reset();
        ContextTest::TearDown();
    }
    // A fresh form (after parameters or rights changed).
    void newForm() {
        form = std::make_unique<FormMainLogic>(ctx);
        form->setUi(&ui);
    }
    bool enabled(const char* control) const {
        return form->availability().isEnabled(QString::fromLatin1(control));
    }

    ScriptedFormUi ui;
    std::unique_ptr<FormMainLogic> form;
};

}  // namespace si::test

// Messages held back while a save holds the writer lock: shown afterwards, in order; questions
// still asked at once; nothing to hold back without a message box.

#include <gtest/gtest.h>

#include "common/DeferredMessages.h"
#include "common/Messages.h"
#include "support/ScriptedMessages.h"

namespace si {
namespace {

TEST(DeferredMessagesTest, MessagesWaitQuestionsDoNot) {
    ComponentRegistry components;
    test::MessageScript script;
    script.install(components);
    script.answerYes();
    {
        DeferredMessages wait(components);
        ShowMessage(components, QStringLiteral("اشکال"), QStringLiteral("اول"));
        EXPECT_EQ(AskYesNo(components, QStringLiteral("هشدار"), QStringLiteral("ادامه؟")),
                  kAnswerYes);
        ShowMessage(components, QStringLiteral("خطا"), QStringLiteral("دوم"));
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.last().text, QStringLiteral("ادامه؟"));
    }
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[1].caption, QStringLiteral("اشکال"));
    EXPECT_EQ(script.shown()[1].text, QStringLiteral("اول"));
    EXPECT_EQ(script.shown()[2].text, QStringLiteral("دوم"));
    ShowMessage(components, QStringLiteral("پيام"), QStringLiteral("بعد"));
    EXPECT_EQ(script.shown().size(), 4u);  // the real box is back
}

TEST(DeferredMessagesTest, WithoutAMessageBoxNothingIsRegistered) {
    ComponentRegistry components;
    {
        DeferredMessages wait(components);
        EXPECT_FALSE(components.contains(kMessageProgId));
        ShowMessage(components, QStringLiteral("خطا"), QStringLiteral("هيچ"));
    }
    EXPECT_FALSE(components.contains(kMessageProgId));
}

}  // namespace
}  // namespace si

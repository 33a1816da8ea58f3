// The test driver's prompt script: a prompt that was expected and never came
// fails the test when the driver goes.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/driver.h"

using namespace core;

TEST(Driver, ExpectedPromptNeverShownFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            testsupport::Driver d;
            d.ui.expectMsgBox("无法读取", MrOk);
        },
        "expected prompt never came: msgbox: 无法读取");
}

TEST(Driver, AnsweredPromptsLeaveNothingPending) {
    testsupport::Driver d;
    d.ui.expectMsgBox("无法读取", MrOk);
    EXPECT_EQ(MsgBox("无法读取文件", MbOkOnly), MrOk);
    EXPECT_FALSE(d.ui.pending());
}

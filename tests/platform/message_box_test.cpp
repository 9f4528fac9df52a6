// Tests of the system message boxes' fallback to standard error when no box can be shown.
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace cw {
namespace {

class NoDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
};

TEST_F(NoDisplayTest, OkBoxGoesToStandardError) {
    SystemMessageBoxes boxes;
    ::testing::internal::CaptureStderr();
    const MessageAnswer answer =
        boxes.show("ERROR", "Window Creation Error.", MessageButtons::Ok, MessageIcon::Exclamation);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, MessageAnswer::Ok);
    EXPECT_EQ(printed, "ERROR: Window Creation Error.\n");
}

TEST_F(NoDisplayTest, UnansweredQuestionGoesToStandardErrorAndDeclines) {
    SystemMessageBoxes boxes;
    ::testing::internal::CaptureStderr();
    const MessageAnswer answer = boxes.show("Cubewright", "Use Windowed Mode Instead?",
                                            MessageButtons::YesNo, MessageIcon::Exclamation);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    // As on Windows, where MessageBoxA's failure reads as No.
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(printed.rfind("Cubewright: Use Windowed Mode Instead?\n", 0), 0u) << printed;
    EXPECT_NE(printed.find("answering No"), std::string::npos) << printed;
}

} // namespace
} // namespace cw

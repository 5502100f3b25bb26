// The notice layer: the caption and text as printed on standard error, and the handler swap.
#include "bmp/notice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string lastNotice;
void recordNotice(const char* caption, const char* text) {
    lastNotice = std::string(caption) + "|" + text;
}

}  // namespace

TEST(NoticeTest, PrintsCaptionAndTextAsOneLineOnStandardError) {
    testing::internal::CaptureStderr();
    showNotice("Error", "Unknown DIB file format.");
    showNotice("Error", "Failed to open DIB file a.bmp.\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Unknown DIB file format.\nError: Failed to open DIB file a.bmp.\n");
}

TEST(NoticeTest, HandlerReceivesNoticesUntilRestored) {
    const NoticeHandler previous = setNoticeHandler(recordNotice);
    showNotice("Error", "Out of memory.");
    EXPECT_EQ(lastNotice, "Error|Out of memory.");
    EXPECT_EQ(setNoticeHandler(nullptr), recordNotice);
    setNoticeHandler(previous);
    testing::internal::CaptureStderr();
    showNotice("Error", "x");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: x\n");
    EXPECT_EQ(lastNotice, "Error|Out of memory.");
}

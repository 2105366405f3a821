// How the host's command line picks the mode and the preview's host window.
#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

TEST(ArgumentText, DropsTheProgramNameQuotedOrNot) {
    EXPECT_EQ(ArgumentText("Kineloop.scr /s"), "/s");
    EXPECT_EQ(ArgumentText("\"C:\\Program Files\\Kineloop.scr\" /p 1234"), "/p 1234");
    EXPECT_EQ(ArgumentText("\"C:\\a b\\Kineloop.scr\""), "");
    EXPECT_EQ(ArgumentText("Kineloop.scr"), "");
    EXPECT_EQ(ArgumentText("Kineloop.scr    /c:99"), "/c:99");
}

TEST(ModeOf, OnlyTheSecondCharacterCountsInAnyCase) {
    EXPECT_EQ(ModeOf("/s"), StartMode::Show);
    EXPECT_EQ(ModeOf("/S"), StartMode::Show);
    EXPECT_EQ(ModeOf("-s"), StartMode::Show);
    EXPECT_EQ(ModeOf("xS"), StartMode::Show);
    EXPECT_EQ(ModeOf("/c:1234"), StartMode::Settings);
    EXPECT_EQ(ModeOf("/C"), StartMode::Settings);
    EXPECT_EQ(ModeOf("/p 1234"), StartMode::Preview);
    EXPECT_EQ(ModeOf("/P:1234"), StartMode::Preview);
    EXPECT_EQ(ModeOf(""), StartMode::ShowAsIs);
    EXPECT_EQ(ModeOf("/A"), StartMode::End);
    EXPECT_EQ(ModeOf("/"), StartMode::End);
    EXPECT_EQ(ModeOf("S"), StartMode::End);
    EXPECT_EQ(ModeOf("s/"), StartMode::End);
}

TEST(HostHandle, ReadsTheNumberFromTheFourthCharacter) {
    EXPECT_EQ(HostHandle("/p 1234"), 1234);
    EXPECT_EQ(HostHandle("/P:1234"), 1234);
    EXPECT_EQ(HostHandle("/p    56"), 56);
    EXPECT_EQ(HostHandle("/p 78xyz"), 78);
    EXPECT_EQ(HostHandle("/p 2.5"), 2);
    EXPECT_EQ(HostHandle("/p 3.5"), 4);
    EXPECT_EQ(HostHandle("/p 1e3"), 1000);
    EXPECT_EQ(HostHandle("/p 12e"), 12);
    EXPECT_EQ(HostHandle("/p -5"), -5);
    EXPECT_EQ(HostHandle("/p"), 0);
    EXPECT_EQ(HostHandle("/p "), 0);
    EXPECT_EQ(HostHandle("/p abc"), 0);
    EXPECT_EQ(HostHandle("/p 2147483647"), 2147483647);
    EXPECT_EQ(HostHandle("/p 2147483648"), 0);
    EXPECT_EQ(HostHandle("/p99"), 9);  // the fourth character is the second 9
}

}  // namespace
}  // namespace kineloop

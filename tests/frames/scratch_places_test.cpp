// Where the scratch file goes after failed writes: the program's folder first, a fallback for good
// once it fails, and the frame refused only when the last place fails too.
#include "scratch/scratch_places.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

struct Case {
    const char* what;
    std::vector<std::wstring> paths;
    std::vector<bool> writes;    // the outcome of each write, in order
    std::vector<bool> accepted;  // what WriteFailed returned after each failed write
    const wchar_t* finallyAt;    // the current place at the end, nullptr for none
};

TEST(ScratchPlaces, MoveOnOnlyAfterAFailedWriteAndNeverBack) {
    const std::vector<std::wstring> three = {L"P\\Dummy.bmp", L"U\\Dummy.bmp", L"T\\Dummy.bmp"};
    const Case cases[] = {
        {"writes that succeed stay beside the program", three, {true, true}, {}, L"P\\Dummy.bmp"},
        {"one failure moves on for good", three, {false, true, true}, {true}, L"U\\Dummy.bmp"},
        {"two failures reach the last place",
         three,
         {false, false, true},
         {true, true},
         L"T\\Dummy.bmp"},
        {"the last place stays after it fails",
         three,
         {false, false, false, true},
         {true, true, false},
         L"T\\Dummy.bmp"},
        {"a folder that could not be found is left out",
         {L"P\\Dummy.bmp", L"", L"T\\Dummy.bmp"},
         {false},
         {true},
         L"T\\Dummy.bmp"},
        {"one place only: refused, and tried again",
         {L"P\\Dummy.bmp"},
         {false, false},
         {false, false},
         L"P\\Dummy.bmp"},
        {"no place at all", {L"", L""}, {}, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchPlaces places(c.paths);
        std::vector<bool> accepted;
        for (bool written : c.writes) {
            ASSERT_NE(places.Current(), nullptr);
            if (!written)
                accepted.push_back(places.WriteFailed());
        }
        EXPECT_EQ(accepted, c.accepted);
        if (c.finallyAt == nullptr) {
            EXPECT_EQ(places.Current(), nullptr);
        } else {
            ASSERT_NE(places.Current(), nullptr);
            EXPECT_EQ(*places.Current(), c.finallyAt);
        }
    }
}

}  // namespace
}  // namespace kineloop

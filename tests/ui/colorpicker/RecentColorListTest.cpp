// The recent colours: most recent first, no duplicates, ten at most.
#include <gtest/gtest.h>

#include <vector>

#include "ui/colorpicker/RecentColorList.h"

namespace {

TEST(RecentColorList, NewestFirstRepeatsMoveToTheFrontOldestDropped)
{
    struct {
        const char* what;
        std::vector<uint32_t> added;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"empty", {}, {}},
        {"newest first", {1, 2, 3}, {3, 2, 1}},
        {"repeat moves to front", {1, 2, 3, 1}, {1, 3, 2}},
        {"front repeated", {1, 2, 2}, {2, 1}},
        {"ten kept", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"eleventh drops oldest", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
        {"repeat in a full list drops nothing", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1}, {1, 10, 9, 8, 7, 6, 5, 4, 3, 2}},
        {"alpha counts", {0xFF000000, 0x00000000}, {0x00000000, 0xFF000000}},
    };
    for (const auto& c : cases) {
        RecentColorList list;
        for (uint32_t color : c.added) list.Add(color);
        EXPECT_EQ(list.Colors(), c.expected) << c.what;
    }
}

}  // namespace

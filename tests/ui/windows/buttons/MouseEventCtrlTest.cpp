#include <gtest/gtest.h>

#include "ui/windows/buttons/MouseEventCtrl.h"

namespace {

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

// Two overlapping areas in a 100 x 50 window: A (10, 10, 40 x 20), B (30, 10, 40 x 30).
class HitAreas : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Gdiplus::RectF areas[] = {{10, 10, 40, 20}, {30, 10, 40, 30}};
        ASSERT_TRUE(tracker.SetAreas(nullptr, 100, 50, areas, 2));
    }
    CMouseEventCtrl tracker;
};

TEST_F(HitAreas, HitTestFollowsEdgesBoundsAndTableOrder)
{
    const struct {
        int x, y, expected;
    } cases[] = {
        {10, 10, 0},   // top-left corner is inside
        {49, 29, 0},   // last pixel of A
        {50, 15, 1},   // A's right edge is outside A, inside B
        {35, 15, 0},   // overlap: the first area wins
        {35, 30, 1},   // A's bottom edge is outside A
        {69, 39, 1},   {70, 39, -1}, {69, 40, -1},
        {5, 5, -1},    // inside the window, in no area
        {-1, 15, -1},  {100, 50, -1},  // the window's width and height pass the bounds test, no area there
        {101, 15, -1}, {15, 51, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(tracker.HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST_F(HitAreas, AnAreaReachingTheWindowEdgeIsHitThere)
{
    const Gdiplus::RectF whole[] = {{0, 0, 101, 51}};
    tracker.SetAreas(nullptr, 100, 50, whole, 1);
    EXPECT_EQ(tracker.HitTest(100, 50), 0);
    EXPECT_EQ(tracker.HitTest(101, 50), -1);
}

TEST_F(HitAreas, MovesReportOnlyChangesOfTheHoveredArea)
{
    int oldIndex = 7, newIndex = 7;
    EXPECT_TRUE(tracker.OnMouseMove(At(12, 12), &oldIndex, &newIndex));
    EXPECT_EQ(oldIndex, -1);
    EXPECT_EQ(newIndex, 0);
    EXPECT_TRUE(tracker.IsTracking());
    EXPECT_FALSE(tracker.OnMouseMove(At(20, 20), &oldIndex, &newIndex));
    EXPECT_TRUE(tracker.OnMouseMove(At(60, 35), &oldIndex, &newIndex));
    EXPECT_EQ(oldIndex, 0);
    EXPECT_EQ(newIndex, 1);
    EXPECT_EQ(tracker.GetHovered(), 1);
    // Negative coordinates from the high and low words stay negative.
    EXPECT_TRUE(tracker.OnMouseMove(At(-5, -5), &oldIndex, &newIndex));
    EXPECT_EQ(newIndex, -1);
}

TEST_F(HitAreas, APressWithoutAMoveStillFindsItsArea)
{
    EXPECT_EQ(tracker.OnLButtonDown(At(60, 35)), 1);
    EXPECT_EQ(tracker.GetHovered(), 1);
    EXPECT_EQ(tracker.GetPressed(), 1);
    EXPECT_EQ(CMouseEventCtrl().OnLButtonDown(At(1, 1)), -1);
}

// The press outlives the leave: a window that comes back under a held
// button still knows where it went down (image buttons drop it themselves).
TEST_F(HitAreas, LeavingClearsTheHoverAndKeepsThePress)
{
    tracker.OnLButtonDown(At(12, 12));
    int oldIndex = 7, newIndex = 7;
    EXPECT_TRUE(tracker.OnMouseLeave(&oldIndex, &newIndex));
    EXPECT_EQ(oldIndex, 0);
    EXPECT_EQ(newIndex, -1);
    EXPECT_EQ(tracker.GetHovered(), -1);
    EXPECT_EQ(tracker.GetPressed(), 0);
    EXPECT_FALSE(tracker.IsTracking());
    EXPECT_FALSE(tracker.OnMouseLeave(&oldIndex, &newIndex));
}

TEST_F(HitAreas, AnEmptyTableIsRefusedAndKeepsTheOldAreas)
{
    EXPECT_FALSE(tracker.SetAreas(nullptr, 100, 50, nullptr, 0));
    EXPECT_EQ(tracker.GetAreaCount(), 2);
    EXPECT_EQ(tracker.HitTest(12, 12), 0);
}

TEST_F(HitAreas, GetAreaOutsideTheTableIsEmpty)
{
    EXPECT_EQ(tracker.GetArea(1).X, 30.0f);
    for (int index : {2, -1}) {
        const Gdiplus::RectF area = tracker.GetArea(index);
        EXPECT_TRUE(area.X == 0 && area.Y == 0 && area.Width == 0 && area.Height == 0) << index;
    }
}

TEST_F(HitAreas, ReleaseFreesTheTableAndResetForgetsTheState)
{
    tracker.OnLButtonDown(At(12, 12));
    tracker.Release(FALSE);
    EXPECT_EQ(tracker.HitTest(12, 12), -1);
    EXPECT_EQ(tracker.GetArea(0).Width, 0.0f);
    EXPECT_EQ(tracker.GetHovered(), 0);
    tracker.Release(TRUE);
    EXPECT_EQ(tracker.GetHovered(), -1);
    EXPECT_EQ(tracker.GetPressed(), -1);
    EXPECT_EQ(tracker.GetAreaCount(), 0);
}

}  // namespace

#include "skin/skin_dlg_holder.h"
#include "tests/skin/skin_test_support.h"

#include <gtest/gtest.h>
#include <memory>

using skintest::Place;
using skintest::ProbeElement;

namespace {

// A root holder of the given size, with no dialog around it.
struct RootFixture {
    explicit RootFixture(int width, int height) {
        root.Create(&root, 1);
        root.SetPosition(0, 0, width, height, 0);
    }
    CSkinDlgHolder root{false, true};
};

} // namespace

TEST(HolderPlacement, NegativeSizeCountsFromTheHolderAndNeverGoesBelowZero) {
    RootFixture f(300, 200);
    ProbeElement e;
    Place(e, f.root, 5, 7, 40, 40);
    e.SetPosition(-1, -1, -10, -10, 0);
    EXPECT_EQ(e.m_x, 5);
    EXPECT_EQ(e.m_y, 7);
    EXPECT_EQ(e.m_right, 295);
    EXPECT_EQ(e.m_bottom, 197);
    RootFixture small(8, 8);
    ProbeElement empty;
    Place(empty, small.root, 0, 0, -20, -20);
    EXPECT_EQ(empty.m_width, 0);
    EXPECT_EQ(empty.m_height, 0);
}

// 128 hides, 64 shows, both together leave the visibility as it was.
TEST(HolderPlacement, ShowAndHideFlags) {
    RootFixture f(300, 200);
    ProbeElement e;
    Place(e, f.root, 0, 0, 10, 10);
    for (auto [flags, visible] : {std::pair{128, false}, {192, false}, {64, true}, {192, true}}) {
        e.SetPosition(-1, -1, 0, 0, flags);
        EXPECT_EQ(e.m_visible, visible) << flags;
    }
}

TEST(HolderResizeRules, AnchoredAndInsetRulesFollowTheHolder) {
    RootFixture f(600, 400);
    ProbeElement anchored, inset;
    Place(anchored, f.root, 0, 0, 5, 5);
    Place(inset, f.root, 0, 0, 5, 5);
    f.root.SetResizeRule(&anchored, -70, 4, 21, 21);
    f.root.SetResizeRule(&inset, 10, 10, -20, -20);
    EXPECT_EQ(anchored.m_width, 21);
    EXPECT_EQ(anchored.m_height, 21);
    for (auto [w, h] : {std::pair{600, 400}, {800, 480}, {320, 200}}) {
        f.root.SetPosition(0, 0, w, h, 0);
        EXPECT_EQ(anchored.m_x, w - 70);
        EXPECT_EQ(anchored.m_y, 4);
        EXPECT_EQ(inset.m_x, 10);
        EXPECT_EQ(inset.m_y, 10);
        EXPECT_EQ(w - inset.m_right, 10);
        EXPECT_EQ(h - inset.m_bottom, 10);
    }
}

TEST(HolderResizeRules, DeferredRuleWaitsForTheNextLayoutAndRulesAreReplaced) {
    RootFixture f(400, 300);
    ProbeElement e;
    Place(e, f.root, 1, 1, 5, 5);
    f.root.SetResizeRule(&e, 50, 60, 70, 80, true);
    EXPECT_EQ(e.m_x, 1);
    f.root.SetPosition(0, 0, 400, 300, 0);
    EXPECT_EQ(e.m_x, 50);
    f.root.SetResizeRule(&e, 5, 6, 7, 8);
    f.root.SetPosition(0, 0, 410, 300, 0);
    EXPECT_EQ(e.m_x, 5);
    EXPECT_EQ(e.m_width, 7);
}

TEST(HolderContent, ReaddingMovesTheElementAndRemovingForgetsItsRule) {
    RootFixture f(300, 200);
    CSkinDlgHolder inner(false, false);
    inner.Create(&f.root, 3);
    inner.SetPosition(0, 0, 100, 100, 0);
    ProbeElement e;
    Place(e, f.root, 0, 0, 10, 10);
    f.root.SetResizeRule(&e, 1, 1, 1, 1);
    inner.AddElement(&e, 5, 5);
    EXPECT_EQ(e.m_pHolder, &inner);
    EXPECT_EQ(f.root.Children().size(), 1u);
    // The old holder's rule left with the element: a re-layout there must not move it.
    f.root.SetPosition(0, 0, 500, 300, 0);
    EXPECT_EQ(e.m_x, 5);
    inner.RemoveElement(&e);
    EXPECT_EQ(e.m_pHolder, nullptr);
    EXPECT_TRUE(inner.Children().empty());
}

TEST(HolderContent, DestroyingAChildFirstOrTheHolderFirstIsSafe) {
    RootFixture f(300, 200);
    auto holder = std::make_unique<CSkinDlgHolder>(false, false);
    holder->Create(&f.root, 3);
    auto a = std::make_unique<ProbeElement>();
    auto b = std::make_unique<ProbeElement>();
    Place(*a, *holder, 0, 0, 10, 10);
    Place(*b, *holder, 0, 20, 10, 10);
    a.reset();
    EXPECT_EQ(holder->Children().size(), 1u);
    holder.reset();
    EXPECT_EQ(b->m_pHolder, nullptr);
    EXPECT_EQ(f.root.Children().size(), 0u);
}

// A child gets its own coordinates; right and bottom edges are outside; hidden and disabled children are
// passed over.
TEST(HolderHitTest, OnlyTheVisibleEnabledChildUnderThePointerIsHit) {
    RootFixture f(300, 200);
    ProbeElement a, b, hidden, disabled;
    Place(a, f.root, 10, 10, 50, 20);
    Place(b, f.root, 100, 10, 50, 20);
    Place(hidden, f.root, 200, 100, 50, 50);
    Place(disabled, f.root, 200, 100, 50, 50);
    hidden.m_visible = false;
    disabled.m_enabled = false;
    f.root.OnMouse(15, 12, 0);
    f.root.OnMouse(60, 12, 0);
    f.root.OnMouse(15, 30, 0);
    f.root.OnMouse(205, 105, 1);
    ASSERT_EQ(a.calls.size(), 1u);
    EXPECT_EQ(a.calls[0].x, 5);
    EXPECT_EQ(a.calls[0].y, 2);
    EXPECT_TRUE(b.calls.empty());
    EXPECT_TRUE(hidden.calls.empty());
    EXPECT_TRUE(disabled.calls.empty());
}

TEST(HolderHitTest, FramedAndScrolledHoldersMapPointsTheWayTheyDraw) {
    RootFixture f(400, 400);
    CSkinDlgHolder framed(false, false);
    framed.Create(&f.root, 3);
    framed.SetPosition(20, 30, 200, 100, 0);
    ProbeElement e;
    Place(e, framed, 0, 150, 60, 20);
    framed.m_scrollY = 140;
    // The child shows at holder + 4 (frame) + its position - the scroll offset.
    const plat::Point at = e.GetDialogPos();
    EXPECT_EQ(at.x, 20 + 4 + 0);
    EXPECT_EQ(at.y, 30 + 4 + 150 - 140);
    f.root.OnMouse(at.x + 3, at.y + 2, 0);
    ASSERT_EQ(e.calls.size(), 1u);
    EXPECT_EQ(e.calls[0].x, 3);
    EXPECT_EQ(e.calls[0].y, 2);
}

// No top zone at the start; a release in the bottom zone steps ten pixels, at most once per 50 ms, and the
// tick keeps scrolling.
TEST(HolderAutoScroll, BottomZoneScrollsPacedTopZoneDoesNotAtTheStart) {
    skintest::ManualClock clock;
    RootFixture f(400, 400);
    CSkinDlgHolder list(true, false);
    list.Create(&f.root, 3);
    list.SetPosition(0, 0, 200, 100, 0);
    ProbeElement e;
    Place(e, list, 0, 400, 10, 10);
    list.OnMouse(50, 5, -1);
    EXPECT_EQ(list.m_autoScrollDir, 0);
    EXPECT_EQ(list.m_scrollY, 0);
    clock.Advance(100);
    list.OnMouse(50, 95, 0);
    EXPECT_EQ(list.m_autoScrollDir, 1);
    list.OnMouse(50, 95, -1);
    EXPECT_EQ(list.m_scrollY, 10);
    list.OnMouse(50, 95, -1);
    EXPECT_EQ(list.m_scrollY, 10);
    clock.Advance(60);
    list.OnTick();
    EXPECT_EQ(list.m_scrollY, 25);
}

TEST(HolderDrawing, AHundredThousandChildrenDrawOnlyWhatShows) {
    RootFixture f(320, 400);
    CSkinDlgHolder list(false, false);
    list.Create(&f.root, 3);
    list.SetPosition(0, 0, 300, 208, 0);
    constexpr int kCount = 100000;
    constexpr int kRow = 20;
    std::vector<std::unique_ptr<ProbeElement>> rows;
    rows.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        rows.push_back(std::make_unique<ProbeElement>());
        rows.back()->SetPosition(0, 0, 280, kRow, 0);
        list.AddElement(rows.back().get(), 0, i * kRow);
    }
    EXPECT_EQ(list.m_contentHeight, kCount * kRow + 4);

    plat::DeviceContext target(320, 400);
    list.Draw(target, 0, 0, true);
    int drawn = 0;
    for (const auto& r : rows) {
        drawn += r->draws;
    }
    EXPECT_EQ(drawn, 10); // a 200-px view of 20-px rows
    EXPECT_EQ(rows[0]->lastDraw.y, 0);

    // Scroll to the very end and draw again: the last rows show, at the right place.
    list.m_scrollY = list.m_contentHeight;
    list.SetPosition(-1, -1, 300, 208, 0);
    EXPECT_EQ(list.m_scrollY, kCount * kRow + 4 - 200);
    list.Draw(target, 0, 0, true);
    EXPECT_EQ(rows[kCount - 1]->draws, 1);
    EXPECT_EQ(rows[kCount - 1]->lastDraw.y, 200 - 4 - kRow);
    // Hit testing at the bottom reaches the last row.
    list.OnMouse(10, 4 + 200 - 4 - kRow + 5, 0);
    EXPECT_EQ(rows[kCount - 1]->calls.size(), 1u);
    list.RemoveAll();
}

TEST(HolderDrawing, FlatHolderKeepsWhatLiesUnderIt) {
    RootFixture f(100, 100);
    CSkinDlgHolder flat(false, true);
    flat.Create(&f.root, 3);
    flat.SetPosition(10, 10, 50, 50, 0);
    ProbeElement e;
    Place(e, flat, 0, 0, 10, 10);
    e.fill = plat::rgb(255, 0, 0);
    plat::DeviceContext target(100, 100);
    target.fillSolidRect(plat::Rect{0, 0, 100, 100}, plat::rgb(0, 0, 255));
    flat.Draw(target, 10, 10, true);
    EXPECT_EQ(target.getPixel(12, 12), plat::rgb(255, 0, 0));
    EXPECT_EQ(target.getPixel(40, 40), plat::rgb(0, 0, 255));
}

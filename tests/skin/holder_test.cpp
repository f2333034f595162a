#include "skin/skin_dlg_holder.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"

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

// A holder inside parent at (x, y), w x h.
void Nest(CSkinDlgHolder& holder, CSkinDlgHolder& parent, int x, int y, int w, int h) {
    holder.Create(&parent, 3);
    holder.SetPosition(x, y, w, h, 0);
}

plat::Rect Bounds(const CSkinElement& e) {
    return plat::Rect{e.m_x, e.m_y, e.m_right, e.m_bottom};
}

plat::Point FirstCall(const ProbeElement& e) {
    return e.calls.empty() ? plat::Point{-1, -1} : plat::Point{e.calls[0].x, e.calls[0].y};
}

} // namespace

// -1 keeps a coordinate, a negative size counts from the holder's and never goes below zero; flags 64 show,
// 128 hide, both together leave the visibility as it was.
TEST(HolderPlacement, SetPositionKeepsCountsFromTheHolderAndShowsOrHides) {
    RootFixture f(300, 200);
    ProbeElement e;
    Place(e, f.root, 5, 7, 40, 40);
    e.SetPosition(-1, -1, -10, -10, 0);
    EXPECT_EQ(Bounds(e), (plat::Rect{5, 7, 295, 197}));
    e.SetPosition(-1, -1, -400, -400, 0);
    EXPECT_EQ(e.m_width, 0);
    for (auto [flags, visible] : {std::pair{128, false}, {192, false}, {64, true}, {192, true}}) {
        e.SetPosition(-1, -1, 0, 0, flags);
        EXPECT_EQ(e.m_visible, visible) << flags;
    }
}

// Anchored and inset rules follow every size; a deferred rule waits for the next layout; a new rule for the
// same element replaces the old.
TEST(HolderResizeRules, RulesFollowTheHolder) {
    RootFixture f(600, 400);
    ProbeElement anchored, inset, deferred;
    Place(anchored, f.root, 0, 0, 5, 5);
    Place(inset, f.root, 0, 0, 5, 5);
    Place(deferred, f.root, 1, 1, 5, 5);
    f.root.SetResizeRule(&anchored, -70, 4, 21, 21);
    f.root.SetResizeRule(&inset, 10, 10, -20, -20);
    f.root.SetResizeRule(&deferred, 50, 60, 70, 80, true);
    EXPECT_EQ(deferred.m_x, 1);
    for (auto [w, h] : {std::pair{800, 480}, {320, 200}}) {
        f.root.SetPosition(0, 0, w, h, 0);
        EXPECT_EQ(Bounds(anchored), (plat::Rect{w - 70, 4, w - 49, 25}));
        EXPECT_EQ(Bounds(inset), (plat::Rect{10, 10, w - 10, h - 10}));
        EXPECT_EQ(deferred.m_x, 50);
    }
    f.root.SetResizeRule(&deferred, 5, 6, 7, 8);
    f.root.SetPosition(0, 0, 410, 300, 0);
    EXPECT_EQ(deferred.m_x, 5);
    EXPECT_EQ(deferred.m_width, 7);
}

TEST(HolderContent, ReaddingMovesTheElementAndTakesItsRuleAlong) {
    RootFixture f(300, 200);
    CSkinDlgHolder inner(false, false);
    Nest(inner, f.root, 0, 0, 0, 0);
    ProbeElement e;
    Place(e, f.root, 0, 0, 10, 10);
    f.root.SetResizeRule(&e, 1, 1, 1, 1);
    inner.AddElement(&e, 5, 100, -1, -1, 30);
    EXPECT_EQ(e.m_pHolder, &inner);
    EXPECT_EQ(f.root.Children().size(), 1u);
    EXPECT_EQ(inner.m_contentHeight, 134);
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
    ProbeElement b;
    Place(*a, *holder, 0, 0, 10, 10);
    Place(b, *holder, 0, 20, 10, 10);
    a.reset();
    EXPECT_EQ(holder->Children().size(), 1u);
    holder.reset();
    EXPECT_EQ(b.m_pHolder, nullptr);
    EXPECT_TRUE(f.root.Children().empty());
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
    for (const plat::Point p : {plat::Point{15, 12}, {60, 12}, {15, 30}, {205, 105}})
        f.root.OnMouse(p.x, p.y, 0);
    EXPECT_EQ(a.calls.size(), 1u);
    EXPECT_EQ(FirstCall(a), (plat::Point{5, 2}));
    EXPECT_TRUE(b.calls.empty() && hidden.calls.empty() && disabled.calls.empty());
}

TEST(HolderHitTest, FramedAndScrolledHoldersMapPointsTheWayTheyDraw) {
    RootFixture f(400, 400);
    CSkinDlgHolder framed(false, false);
    Nest(framed, f.root, 20, 30, 200, 100);
    ProbeElement e;
    Place(e, framed, 0, 150, 60, 20);
    framed.m_scrollY = 140;
    // The child shows at holder + 4 (frame) + its position - the scroll offset.
    const plat::Point at = e.GetDialogPos();
    EXPECT_EQ(at, (plat::Point{20 + 4, 30 + 4 + 150 - 140}));
    f.root.OnMouse(at.x + 3, at.y + 2, 0);
    EXPECT_EQ(FirstCall(e), (plat::Point{3, 2}));
}

// No top zone at the start; a release in the bottom zone steps ten pixels, at most once per 50 ms, and the
// tick keeps scrolling.
TEST(HolderAutoScroll, BottomZoneScrollsPacedTopZoneDoesNotAtTheStart) {
    twtest::TestClock clock{{.monotonicMs = 1'000'000}};
    RootFixture f(400, 400);
    CSkinDlgHolder list(true, false);
    Nest(list, f.root, 0, 0, 200, 100);
    ProbeElement e;
    Place(e, list, 0, 400, 10, 10);
    list.OnMouse(50, 5, -1);
    EXPECT_EQ(list.m_autoScrollDir, 0);
    EXPECT_EQ(list.m_scrollY, 0);
    clock.AdvanceMs(100);
    list.OnMouse(50, 95, 0);
    EXPECT_EQ(list.m_autoScrollDir, 1);
    list.OnMouse(50, 95, -1);
    list.OnMouse(50, 95, -1);
    EXPECT_EQ(list.m_scrollY, 10);
    clock.AdvanceMs(60);
    list.OnTick();
    EXPECT_EQ(list.m_scrollY, 25);
}

TEST(HolderDrawing, AHundredThousandChildrenDrawAndHitOnlyWhatShows) {
    RootFixture f(320, 400);
    CSkinDlgHolder list(false, false);
    Nest(list, f.root, 0, 0, 300, 208);
    constexpr int kCount = 100000;
    constexpr int kRow = 20;
    std::vector<std::unique_ptr<ProbeElement>> rows(kCount);
    for (int i = 0; i < kCount; ++i) {
        rows[size_t(i)] = std::make_unique<ProbeElement>();
        rows[size_t(i)]->SetPosition(0, 0, 280, kRow, 0);
        list.AddElement(rows[size_t(i)].get(), 0, i * kRow);
    }
    plat::DeviceContext target(320, 400);
    list.Draw(target, 0, 0, true);
    int drawn = 0;
    for (const auto& r : rows)
        drawn += r->draws;
    EXPECT_EQ(drawn, 10); // a 200-px view of 20-px rows
    // At the very end the last row shows at the bottom of the view and takes the pointer there.
    list.m_scrollY = list.m_contentHeight;
    list.SetPosition(-1, -1, 300, 208, 0);
    EXPECT_EQ(list.m_scrollY, kCount * kRow + 4 - 200);
    list.Draw(target, 0, 0, true);
    EXPECT_EQ(rows.back()->lastDraw.y, 200 - 4 - kRow);
    list.OnMouse(10, 4 + 200 - 4 - kRow + 5, 0);
    EXPECT_EQ(rows.back()->calls.size(), 1u);
    list.RemoveAll();
}

TEST(HolderDrawing, FlatHolderKeepsWhatLiesUnderIt) {
    RootFixture f(100, 100);
    CSkinDlgHolder flat(false, true);
    Nest(flat, f.root, 10, 10, 50, 50);
    ProbeElement e;
    Place(e, flat, 0, 0, 10, 10);
    e.fill = plat::Rgb(255, 0, 0);
    plat::DeviceContext target(100, 100);
    target.fillSolidRect(plat::Rect{0, 0, 100, 100}, plat::Rgb(0, 0, 255));
    flat.Draw(target, 10, 10, true);
    EXPECT_EQ(target.getPixel(12, 12), plat::Rgb(255, 0, 0));
    EXPECT_EQ(target.getPixel(40, 40), plat::Rgb(0, 0, 255));
}

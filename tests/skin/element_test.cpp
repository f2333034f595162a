#include "skin/scroll_geometry.h"
#include "skin/skin_dlg_holder.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"

#include <gtest/gtest.h>
#include <memory>

using skintest::ProbeElement;

namespace {

// An element in a never-shown dialog, sized and with its scrollbars laid out over the given content height.
struct Scrolled {
    Scrolled(int width, int height, int content) {
        skintest::Place(e, u.dlg.m_rootHolder, 0, 0, width, height);
        e.m_contentHeight = content;
        plat::DeviceContext surface(width, height);
        e.DrawScrollbars(surface, 0, 0);
    }
    twtest::TestClock clock{{.monotonicMs = 1'000'000}};
    skintest::UnshownDialog u;
    ProbeElement e;
};

} // namespace

TEST(ElementScrollbars, HoldingTheDownArrowStepsAFifthEvery150msUntilTheEndThenChangesNothing) {
    Scrolled s(200, 100, 300);
    ProbeElement& e = s.e;
    const int view = 100 - 4 - 4;
    const int arrowY = 100 - 4 - 7; // inside the down arrow
    e.OnMouse(195, arrowY, 1);
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollDown);
    EXPECT_EQ(e.m_scrollY, view / 5);
    s.u.dlg.m_pPressed = &e;
    s.clock.AdvanceMs(100);
    e.OnMouse(195, arrowY, 1);
    EXPECT_EQ(e.m_scrollY, view / 5) << "nothing more within 150 ms";
    for (int steps = 0; steps < 12; ++steps) {
        s.clock.AdvanceMs(150);
        e.OnMouse(195, arrowY, 1);
    }
    EXPECT_EQ(e.m_scrollY, 300 - view);
    EXPECT_EQ(e.m_changeCount, 12) << "one change per step that moved, none at the end";
    EXPECT_TRUE(e.OnMouse(195, arrowY, -1));
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollNone);
}

TEST(ElementScrollbars, PageAndThumbParts) {
    Scrolled s(200, 228, 2200);
    ProbeElement& e = s.e;
    // A press below the thumb pages down by a third of the view.
    e.OnMouse(195, 200, 1);
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollPageDown);
    EXPECT_EQ(e.m_scrollY, (228 - 8) / 3);
    e.OnMouse(195, 200, -1);
    // Dragging the thumb by its free length moves the offset across the whole content.
    e.m_scrollY = 0;
    const skin::ThumbGeometry t = skin::ComputeThumb(4, 224, 2200, 220, 0);
    s.clock.AdvanceMs(200);
    e.OnMouse(195, 4 + 14 + 2, 1);
    ASSERT_EQ(e.m_scrollMode, CSkinElement::kScrollVThumb);
    s.clock.AdvanceMs(200);
    e.OnMouse(195, 4 + 14 + 2 + t.free, 1);
    EXPECT_EQ(e.m_scrollY, 2200 - 220);
    // A release elsewhere (a plain move after it) lets go of the thumb.
    e.OnMouse(10, 10, 0);
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollNone);
}

TEST(ElementScrollbars, ContentThatFitsShowsNoBarAndResetsTheOffsets) {
    Scrolled s(100, 100, 92);
    s.e.m_contentWidth = 92;
    s.e.m_scrollY = 30;
    s.e.m_scrollX = 12;
    plat::DeviceContext surface(100, 100);
    s.e.DrawScrollbars(surface, 0, 0);
    EXPECT_EQ(s.e.m_scrollY + s.e.m_scrollX, 0);
    EXPECT_EQ(s.e.m_rightInset + s.e.m_bottomInset, 8);
}

// Deleting an element, or emptying the holder it is in, leaves the dialog no pointer to it; a handle kept
// elsewhere reads null and never matches an element built later.
TEST(ElementLifetime, TheDialogAndHandlesForgetAnElementThatLeaves) {
    skintest::UnshownDialog u;
    auto e = std::make_unique<ProbeElement>();
    e->Create(&u.dlg.m_rootHolder, 2);
    e->SetFocus();
    u.dlg.m_pHover = u.dlg.m_pPressed = e.get();
    const skin::ElementHandle kept(e.get());
    e.reset();
    EXPECT_TRUE(u.dlg.m_pFocus == nullptr && u.dlg.m_pHover == nullptr && u.dlg.m_pPressed == nullptr);
    EXPECT_EQ(kept.Get(), nullptr);
    EXPECT_FALSE(kept == skin::ElementHandle());
    const auto later = std::make_unique<ProbeElement>(); // may well reuse the address
    EXPECT_FALSE(kept == skin::ElementHandle(later.get()));

    CSkinDlgHolder holder(false, false);
    holder.Create(&u.dlg.m_rootHolder, 3);
    ProbeElement inner;
    inner.Create(&holder, 4);
    inner.SetFocus();
    u.dlg.m_pHover = &inner;
    holder.RemoveAll();
    EXPECT_TRUE(u.dlg.m_pFocus == nullptr && u.dlg.m_pHover == nullptr);
    EXPECT_EQ(inner.m_pHolder, nullptr);
}

namespace {

class TabOrder : public ::testing::Test {
  protected:
    ProbeElement& AddFocusable(CSkinDlgHolder& holder, int y) {
        m_store.push_back(std::make_unique<ProbeElement>());
        skintest::Place(*m_store.back(), holder, 0, y, 20, 10);
        m_store.back()->m_takesKeys = true;
        return *m_store.back();
    }
    // Where Tab (or Shift+Tab) from the focused element leads, n times.
    std::vector<CSkinElement*> Walk(int n, bool backwards) {
        std::vector<CSkinElement*> seen;
        for (int i = 0; i < n; ++i) {
            CSkinElement* focus = m_u.dlg.m_pFocus;
            EXPECT_TRUE(focus->m_pHolder->FocusNext(focus, backwards));
            seen.push_back(m_u.dlg.m_pFocus);
        }
        return seen;
    }
    skintest::UnshownDialog m_u;
    CSkinDlgHolder& m_root = m_u.dlg.m_rootHolder;
    std::vector<std::unique_ptr<ProbeElement>> m_store;
};

} // namespace

TEST_F(TabOrder, WalksNestedHoldersInInsertionOrderAndWraps) {
    ProbeElement& a = AddFocusable(m_root, 0);
    CSkinDlgHolder nested(false, false);
    nested.Create(&m_root, 5);
    nested.SetPosition(0, 20, 100, 100, 0);
    ProbeElement& n1 = AddFocusable(nested, 0);
    ProbeElement& n2 = AddFocusable(nested, 20);
    ProbeElement& b = AddFocusable(m_root, 200);
    a.SetFocus();
    EXPECT_EQ(Walk(5, false), (std::vector<CSkinElement*>{&n1, &n2, &b, &a, &n1}));
    EXPECT_EQ(Walk(2, true), (std::vector<CSkinElement*>{&a, &b}));
}

TEST_F(TabOrder, SkipsHiddenDisabledNonFocusableAndEmptyHoldersAndStopsWhenAlone) {
    ProbeElement& a = AddFocusable(m_root, 0);
    AddFocusable(m_root, 20).m_visible = false;
    AddFocusable(m_root, 40).m_enabled = false;
    AddFocusable(m_root, 60).m_takesKeys = false;
    CSkinDlgHolder hiddenHolder(false, false), empty1(false, false), empty2(false, false);
    hiddenHolder.Create(&m_root, 6);
    hiddenHolder.m_visible = false;
    AddFocusable(hiddenHolder, 0);
    empty1.Create(&m_root, 5);
    empty2.Create(&empty1, 6);
    a.SetFocus();
    EXPECT_FALSE(m_root.FocusNext(&a, false));
    EXPECT_FALSE(m_root.FocusNext(&a, true));
    EXPECT_EQ(m_u.dlg.m_pFocus, &a);
    // An element of another holder is not this holder's to move from.
    CSkinDlgHolder other(false, false);
    other.Create(&m_root, 7);
    EXPECT_FALSE(other.FocusNext(&a, false));
    // With a second focusable element after the empty holders, Tab passes over them both ways round.
    ProbeElement& b = AddFocusable(m_root, 100);
    EXPECT_EQ(Walk(2, false), (std::vector<CSkinElement*>{&b, &a}));
}

#include "skin/scroll_geometry.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg_holder.h"
#include "tests/skin/skin_test_support.h"

#include <gtest/gtest.h>
#include <memory>

using skintest::ManualClock;
using skintest::ProbeElement;
using skintest::TestDialog;

namespace {

// A dialog that is never shown: its root holder is set up by hand, so elements have a dialog to report to.
struct UnshownDialog {
    UnshownDialog() {
        dlg.m_rootHolder.Create(&dlg.m_rootHolder, 1);
        dlg.m_rootHolder.SetPosition(0, 0, 400, 300, 0);
    }
    TestDialog dlg;
};

ProbeElement& AddFocusable(std::vector<std::unique_ptr<ProbeElement>>& store, CSkinDlgHolder& holder, int y) {
    store.push_back(std::make_unique<ProbeElement>());
    ProbeElement& e = *store.back();
    e.Create(&holder, 9);
    e.SetPosition(0, y, 20, 10, 0);
    e.m_takesKeys = true;
    return e;
}

} // namespace

TEST(ElementScrollbars, HoldingTheDownArrowStepsAFifthEvery150msUntilTheEnd) {
    ManualClock clock;
    UnshownDialog u;
    ProbeElement e;
    e.Create(&u.dlg.m_rootHolder, 2);
    e.SetPosition(0, 0, 200, 100, 0);
    e.m_contentHeight = 300;
    plat::DeviceContext surface(200, 100);
    e.DrawScrollbars(surface, 0, 0);
    ASSERT_EQ(e.m_rightInset, 22);
    const int view = 100 - 4 - 4;
    const int arrowY = 100 - 4 - 7; // inside the down arrow

    e.OnMouse(195, arrowY, 1);
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollDown);
    EXPECT_EQ(e.m_scrollY, view / 5);
    u.dlg.m_pPressed = &e;
    // Within 150 ms nothing more happens.
    clock.Advance(100);
    e.OnMouse(195, arrowY, 1);
    EXPECT_EQ(e.m_scrollY, view / 5);
    int steps = 1;
    while (e.m_scrollY < 300 - view && steps < 100) {
        clock.Advance(150);
        e.OnMouse(195, arrowY, 1);
        ++steps;
    }
    EXPECT_EQ(e.m_scrollY, 300 - view);
    const int redraws = e.redraws;
    const int changes = e.m_changeCount;
    clock.Advance(150);
    e.OnMouse(195, arrowY, 1);
    EXPECT_EQ(e.redraws, redraws);
    EXPECT_EQ(e.m_changeCount, changes);
    EXPECT_TRUE(e.OnMouse(195, arrowY, -1));
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollNone);
}

TEST(ElementScrollbars, PageAndThumbParts) {
    ManualClock clock;
    UnshownDialog u;
    ProbeElement e;
    e.Create(&u.dlg.m_rootHolder, 2);
    e.SetPosition(0, 0, 200, 228, 0);
    e.m_contentHeight = 2200;
    plat::DeviceContext surface(200, 228);
    e.DrawScrollbars(surface, 0, 0);
    // A press below the thumb pages down by a third of the view.
    e.OnMouse(195, 200, 1);
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollPageDown);
    EXPECT_EQ(e.m_scrollY, (228 - 8) / 3);
    e.OnMouse(195, 200, -1);
    // Dragging the thumb by its free length moves the offset across the whole content.
    e.m_scrollY = 0;
    const skin::ThumbGeometry t = skin::ComputeThumb(4, 224, 2200, 220, 0);
    clock.Advance(200);
    e.OnMouse(195, 4 + 14 + 2, 1);
    ASSERT_EQ(e.m_scrollMode, CSkinElement::kScrollVThumb);
    clock.Advance(200);
    e.OnMouse(195, 4 + 14 + 2 + t.free, 1);
    EXPECT_EQ(e.m_scrollY, 2200 - 220);
    // A release elsewhere (a plain move after it) lets go of the thumb.
    e.OnMouse(10, 10, 0);
    EXPECT_EQ(e.m_scrollMode, CSkinElement::kScrollNone);
}

TEST(ElementScrollbars, ContentThatFitsShowsNoBarAndResetsTheOffset) {
    UnshownDialog u;
    ProbeElement e;
    e.Create(&u.dlg.m_rootHolder, 2);
    e.SetPosition(0, 0, 100, 100, 0);
    e.m_contentHeight = 92;
    e.m_scrollY = 30;
    e.m_contentWidth = 92;
    e.m_scrollX = 12;
    plat::DeviceContext surface(100, 100);
    e.DrawScrollbars(surface, 0, 0);
    EXPECT_EQ(e.m_scrollY, 0);
    EXPECT_EQ(e.m_scrollX, 0);
    EXPECT_EQ(e.m_rightInset, 4);
    EXPECT_EQ(e.m_bottomInset, 4);
}

TEST(ElementFrame, OneLineFieldCapsComeFromTheAtlas) {
    UnshownDialog u;
    ProbeElement e;
    e.Create(&u.dlg.m_rootHolder, 2);
    ASSERT_NE(e.m_pAtlasDC, nullptr);
    const plat::DeviceContext& atlas = *e.m_pAtlasDC;
    plat::DeviceContext dc(400, 60);
    e.DrawFrame(100, 5, 200, 33, dc);
    for (int k : {0, 10, 23}) {
        EXPECT_EQ(dc.getPixel(100 + 200 - 24 + k, 5 + 16), atlas.getPixel(51 + k, 76 + 16)) << k;
        EXPECT_EQ(dc.getPixel(100 + k, 5 + 16), atlas.getPixel(1 + k, 76 + 16)) << k;
    }
    // Nothing is drawn past the frame's right edge.
    EXPECT_EQ(dc.pixelArgb(300, 20), 0u);
}

TEST(ElementFrame, TallFrameHasAWhiteCentre) {
    UnshownDialog u;
    ProbeElement e;
    e.Create(&u.dlg.m_rootHolder, 2);
    plat::DeviceContext dc(200, 200);
    e.DrawFrame(0, 0, 150, 120, dc);
    EXPECT_EQ(dc.getPixel(75, 60), 0xFFFFFFu);
    EXPECT_EQ(dc.getPixel(5, 118), e.m_pAtlasDC->getPixel(6, 98 + 9));
}

TEST(ElementFocus, DetachingTheFocusedElementLeavesNoFocus) {
    UnshownDialog u;
    auto e = std::make_unique<ProbeElement>();
    e->Create(&u.dlg.m_rootHolder, 2);
    e->SetFocus();
    u.dlg.m_pHover = e.get();
    u.dlg.m_pPressed = e.get();
    ASSERT_EQ(u.dlg.m_pFocus, e.get());
    e.reset();
    EXPECT_EQ(u.dlg.m_pFocus, nullptr);
    EXPECT_EQ(u.dlg.m_pHover, nullptr);
    EXPECT_EQ(u.dlg.m_pPressed, nullptr);
}

TEST(ElementFocus, RemovingAHolderForgetsPointersIntoIt) {
    UnshownDialog u;
    auto holder = std::make_unique<CSkinDlgHolder>(false, false);
    holder->Create(&u.dlg.m_rootHolder, 3);
    ProbeElement inner;
    inner.Create(holder.get(), 4);
    inner.SetFocus();
    u.dlg.m_pHover = &inner;
    holder->RemoveAll();
    EXPECT_EQ(u.dlg.m_pFocus, nullptr);
    EXPECT_EQ(u.dlg.m_pHover, nullptr);
    EXPECT_EQ(inner.m_pHolder, nullptr);
}

TEST(TabOrder, WalksNestedHoldersInInsertionOrderAndWraps) {
    UnshownDialog u;
    CSkinDlgHolder& root = u.dlg.m_rootHolder;
    std::vector<std::unique_ptr<ProbeElement>> store;
    ProbeElement& a = AddFocusable(store, root, 0);
    CSkinDlgHolder nested(false, false);
    nested.Create(&root, 5);
    nested.SetPosition(0, 20, 100, 100, 0);
    ProbeElement& n1 = AddFocusable(store, nested, 0);
    ProbeElement& n2 = AddFocusable(store, nested, 20);
    ProbeElement& b = AddFocusable(store, root, 200);

    a.SetFocus();
    std::vector<CSkinElement*> seen;
    for (int i = 0; i < 5; ++i) {
        CSkinElement* focus = u.dlg.m_pFocus;
        ASSERT_TRUE(focus->m_pHolder->FocusNext(focus, false));
        seen.push_back(u.dlg.m_pFocus);
    }
    const std::vector<CSkinElement*> expected{&n1, &n2, &b, &a, &n1};
    EXPECT_EQ(seen, expected);

    // Backwards from the first child of the nested holder goes to the element before the holder.
    n1.SetFocus();
    ASSERT_TRUE(nested.FocusNext(&n1, true));
    EXPECT_EQ(u.dlg.m_pFocus, &a);
}

TEST(TabOrder, SkipsHiddenDisabledAndNonFocusableAndStopsWhenAlone) {
    UnshownDialog u;
    CSkinDlgHolder& root = u.dlg.m_rootHolder;
    std::vector<std::unique_ptr<ProbeElement>> store;
    ProbeElement& a = AddFocusable(store, root, 0);
    ProbeElement& hidden = AddFocusable(store, root, 20);
    ProbeElement& disabled = AddFocusable(store, root, 40);
    ProbeElement& plain = AddFocusable(store, root, 60);
    hidden.m_visible = false;
    disabled.m_enabled = false;
    plain.m_takesKeys = false;
    CSkinDlgHolder hiddenHolder(false, false);
    hiddenHolder.Create(&root, 6);
    hiddenHolder.m_visible = false;
    AddFocusable(store, hiddenHolder, 0);

    a.SetFocus();
    EXPECT_FALSE(root.FocusNext(&a, false));
    EXPECT_FALSE(root.FocusNext(&a, true));
    EXPECT_EQ(u.dlg.m_pFocus, &a);
    // An element of another holder is not this holder's to move from.
    CSkinDlgHolder other(false, false);
    other.Create(&root, 7);
    EXPECT_FALSE(other.FocusNext(&a, false));
}

TEST(TabOrder, ANestedHolderWithoutFocusableChildrenIsPassedOver) {
    UnshownDialog u;
    CSkinDlgHolder& root = u.dlg.m_rootHolder;
    std::vector<std::unique_ptr<ProbeElement>> store;
    ProbeElement& a = AddFocusable(store, root, 0);
    CSkinDlgHolder empty1(false, false), empty2(false, false);
    empty1.Create(&root, 5);
    empty2.Create(&empty1, 6);
    ProbeElement& b = AddFocusable(store, root, 100);
    a.SetFocus();
    ASSERT_TRUE(root.FocusNext(&a, false));
    EXPECT_EQ(u.dlg.m_pFocus, &b);
    ASSERT_TRUE(root.FocusNext(&b, false));
    EXPECT_EQ(u.dlg.m_pFocus, &a);
}

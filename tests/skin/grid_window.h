#pragma once

#include "tests/skin/record_report.h"
#include "tests/support/skin_test_support.h"

#include <QPoint>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <type_traits>
#include <vector>

namespace skintest {

// A shown dialog holding one grid; the test moves, clicks and types through real window events, in
// coordinates relative to the grid.
template <class Grid> struct GridWindow {
    explicit GridWindow(std::vector<Record> records = {}, int width = 900, int height = 600) {
        if constexpr (std::is_base_of_v<RecordReport, Grid>)
            grid.records = std::move(records);
        dlg.m_width = width;
        dlg.m_height = height;
        dlg.m_keepPosition = true;
        dlg.m_title = QStringLiteral("Tarnwick 2.0 :: Report");
        dlg.build = [this, width, height](TestDialog& d) {
            grid.SetupColumns(&d.m_rootHolder, d.m_nextElementId++);
            grid.SetPosition(10, 40, width - 20, height - 50, CSkinElement::kShowFlag);
        };
        dlg.Open();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.widget()));
        dlg.RedrawNow();
    }
    QPoint At(int x, int y) const { return QPoint(grid.GetDialogPos().x + x, grid.GetDialogPos().y + y); }
    void Move(int x, int y) {
        QTest::mouseMove(dlg.widget(), At(x, y));
        dlg.RedrawNow();
    }
    void Click(int x, int y, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseMove(dlg.widget(), At(x, y));
        QTest::mouseClick(dlg.widget(), button, mods, At(x, y));
        dlg.RedrawNow();
    }
    void Drag(int x1, int y, int x2) {
        QTest::mouseMove(dlg.widget(), At(x1, y));
        QTest::mousePress(dlg.widget(), Qt::LeftButton, {}, At(x1, y));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(dlg.widget(), At(x1 + (x2 - x1) * step / 4, y));
        QTest::mouseRelease(dlg.widget(), Qt::LeftButton, {}, At(x2, y));
        dlg.RedrawNow();
    }
    void Refresh() {
        grid.InvalidateContent();
        dlg.RedrawNow();
    }
    plat::ColorRef Pixel(int x, int y) const { return grid.BackBuffer().getPixel(x, y); }
    // The middle of the line showing row.
    int RowY(int row) const {
        return CSkinListBox::kHeaderHeight - grid.m_scrollY + row * grid.Pitch() + grid.Pitch() / 2;
    }
    int LineTop(int row) const { return RowY(row) - grid.Pitch() / 2; }

    Grid grid;
    TestDialog dlg;
};

} // namespace skintest

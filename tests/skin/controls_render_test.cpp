#include "skin/skin_date_select.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_dlg_splitter.h"
#include "skin/skin_label.h"
#include "skin/skin_progress.h"
#include "skin/skin_radio.h"
#include "skin/skin_slider.h"
#include "tests/skin/skin_test_support.h"
#include "tests/skin/window_events.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::TestDialog;

// One of each small control in a framed dialog, a radio under the pointer and the slider focused, grabbed
// from the window as it shows (renders/controls.png). No control reads past its pictures onto the key colour.
TEST(Render, DialogWithOneOfEachControl) {
    skintest::ManualClock clock(1706702400LL * 1000);
    TestDialog dlg;
    CSkinLabel heading, lines, link, off;
    CSkinRadio radios[3], box, locked;
    CSkinSlider threads;
    CSkinProgress progress;
    CSkinDlgHolder panel;
    CSkinDlgSplitter split;
    CSkinDateSelect calendar;
    dlg.m_width = 600;
    dlg.m_height = 400;
    dlg.m_title = u"Tarnwick 2.0 :: Controls"_s;
    dlg.build = [&](TestDialog& d) {
        CSkinDlgHolder& root = d.m_rootHolder;
        heading.CreateLabel(&root, 2, u"Search engines"_s, 20, 44);
        heading.SetFont(&d.m_fontBold15);
        const QString checks[] = {u"Google"_s, u"Yahoo"_s, u"Bing"_s, u"Random pauses"_s,
                                  u"Start with the system"_s};
        CSkinRadio* all[] = {&radios[0], &radios[1], &radios[2], &box, &locked};
        for (int i = 0; i < 5; ++i) {
            all[i]->Create(&root, 3, checks[i], i < 3 ? u"engine"_s : u"option"_s, i);
            all[i]->SetStyle(i < 3 ? 0 : 1);
            all[i]->SetPosition(20, 66 + 24 * i + (i < 3 ? 0 : 8), all[i]->m_width, all[i]->m_height, 0);
        }
        radios[0].m_checked = box.m_checked = true;
        locked.SetEnabled(false);
        lines.CreateLabel(&root, 4,
                          u"Threads for downloads:\r\nmore threads fetch faster\nbut load the servers"_s, 20,
                          204);
        threads.Create(&root, 5);
        threads.SetPosition(20, 262, 230, 30, 0);
        threads.m_minimum = 1;
        threads.m_maximum = 32;
        threads.m_valueFormat = u"%d threads"_s;
        progress.Create(&root, 6);
        progress.SetPosition(20, 306, 230, 14, 0);
        progress.SetPos(45);
        link.CreateLabel(&root, 7, u"Open the manual"_s, 20, 334, u"open_manual"_s, QString(), true);
        off.CreateLabel(&root, 8, u"Not available"_s, 250, 334, QString(), QString(), false, true);
        off.SetEnabled(false);
        panel.Create(&root, 9);
        panel.SetPosition(290, 44, 290, 160, 0);
        split.Create(&panel, 10, CSkinDlgSplitter::kHorizontal, 30, 30, 80, u"split"_s, 0);
        calendar.Create(&root, 11, u"date_sel_"_s);
        calendar.SetPosition(335, 220, 200, 140, 0);
        calendar.m_bold[3 * CSkinDateSelect::kRows + 1] = true;
    };
    dlg.Open();
    skintest::ClickAt(dlg, skintest::At(threads, 80, 10));
    skintest::MoveMouse(dlg, TestDialog::Centre(radios[1]));
    dlg.RedrawNow();
    const QImage shown = dlg.widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    ASSERT_TRUE(shown.save(QStringLiteral(TW_SKIN_RENDER_DIR) + u"/controls.png"_s));
    qsizetype keyed = 0;
    for (int y = 4; y < shown.height() - 4; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        keyed += std::count(line + 4, line + shown.width() - 4, qRgb(255, 0, 255));
    }
    EXPECT_EQ(keyed, 0);
}

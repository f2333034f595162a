#include "platform/native_edit.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"
#include "skin/skin_win_list.h"
#include "tests/skin/live_dialog.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The dialog as the screen shows it: its drawing with the native child of the field being edited, and the
// open popup list over it. The lit line of the popup is the highlight colour, the others stay white.
TEST(Render, EditFieldsAndAnOpenDropList) {
    skintest::LiveDialog dlg;
    CSkinEdit keyword;
    CSkinEdit notes;
    CSkinEdit password;
    CSkinEdit threads;
    CSkinDropList region;
    CSkinDropList history;
    dlg.m_width = 520;
    dlg.m_height = 330;
    dlg.m_title = u"Tarnwick 2.0 :: Edit fields and drop lists"_s;
    dlg.build = [&](skintest::TestDialog& d) {
        keyword.Create(&d.m_rootHolder, d.m_nextElementId++, u"keyword research"_s, false, false, u"kw"_s,
                       QString());
        keyword.SetPosition(20, 50, 230, 25, 0);
        password.Create(&d.m_rootHolder, d.m_nextElementId++, u"secret"_s, false, false, QString(), QString(),
                        plat::kEditPassword);
        password.SetPosition(20, 85, 150, 25, 0);
        threads.Create(&d.m_rootHolder, d.m_nextElementId++, u"8"_s, false, true, QString(), QString());
        threads.SetPosition(180, 85, 70, 25, 0);
        notes.Create(&d.m_rootHolder, d.m_nextElementId++,
                     u"seo tools\r\nkeyword density\r\nlong tail keywords\r\nsearch volume\r\nad groups\r\n"
                     u"bid prices\r\ncompetition strength\r\nniche research"_s,
                     true, false, QString(), QString());
        notes.SetPosition(20, 120, 230, 110, 0);
        history.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), true, u"hist"_s);
        history.SetPosition(20, 245, 230, 25, 0);
        history.AddItem(u"-- Clear history --"_s, 0);
        history.AddItem(u"keyword tools"_s, 0);
        history.SetCurSel(1, true);
        region.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), false, u"region"_s);
        region.SetPosition(280, 50, 220, 150, 0);
        for (const QString& country : {u"Australia"_s, u"Canada"_s, u"Germany"_s, u"India"_s, u"Ireland"_s,
                                       u"New Zealand"_s, u"United Kingdom"_s, u"United States"_s,
                                       u"South Africa"_s, u"Singapore"_s, u"Spain"_s, u"Sweden"_s})
            region.AddItem(country, 0);
        region.SetCurSel(6, true);
    };
    ASSERT_TRUE(dlg.Show());
    dlg.ClickOn(keyword, 60);
    dlg.Type(u" tools"_s);
    dlg.ClickOn(region, 90);
    ASSERT_TRUE(region.IsPopupOpen());
    CSkin_WinList* popup = region.Popup();
    QTest::mouseMove(popup->widget()->windowHandle(), QPoint(40, 4 + 15 * 3 + 7));
    dlg.RedrawNow();
    skintest::LiveDialog::Settle();

    QImage shot = dlg.widget()->grab().toImage();
    const plat::Rect list = popup->windowRect();
    const plat::Point origin = dlg.clientToScreen({0, 0});
    const QImage popupShot = popup->widget()->grab().toImage();
    {
        QPainter painter(&shot);
        painter.drawImage(list.left - origin.x, list.top - origin.y, popupShot);
    }
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    ASSERT_TRUE(shot.save(QStringLiteral(TW_SKIN_RENDER_DIR) + u"/controls-2.png"_s));

    const int lit = popup->m_highlight - popup->m_dummy.m_scrollY / 15;
    // Right of the text, left of the scroll bar.
    const int x = popupShot.width() - popup->m_dummy.m_rightInset - 3;
    const auto rowColour = [&](int row) { return popupShot.pixelColor(x, 4 + 15 * row + 7); };
    EXPECT_EQ(rowColour(lit), QColor(190, 230, 255));
    EXPECT_EQ(rowColour(lit + 1), QColor(Qt::white));
    EXPECT_EQ(keyword.GetText(), u"keyword research tools"_s);
}

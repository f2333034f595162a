#include "app/skin_ad_display.h"
#include "app/skin_ad_display_dlg.h"
#include "core/headless_platform_services.h"
#include "platform/application.h"
#include "platform/screens.h"
#include "skin/skin_constants.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct AdShell {
    AdShell() { display.Create(&shell.dlg.m_rootHolder, 2, QString()); }
    // The texts of the runs between the title and the shown address: the ad's lines as shown.
    QStringList AdLines(const CDownloader_Parsers_SE_result& ad) {
        display.SetAd(ad);
        QStringList lines;
        for (std::size_t i = 1; i + 1 < display.m_runs.size() && display.m_runs[i].text != ad.show_url; ++i)
            lines << display.m_runs[i].text;
        return lines;
    }
    skintest::UnshownDialog shell;
    CSkinAdDisplay display;
};

CDownloader_Parsers_SE_result Ad(const QString& line1, const QString& line2, const QString& body = {}) {
    CDownloader_Parsers_SE_result ad;
    ad.title = u"Cheap Flights to Rome"_s;
    ad.show_url = u"www.flights.example"_s;
    ad.ad_line1 = line1;
    ad.ad_line2 = line2;
    ad.body = body;
    return ad;
}

plat::Point Middle(const plat::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

// A long first line without a second is split at the first space from index 30 on (when it has 41
// characters or more); so is the body of an ad without lines. A body too short to split shows whole.
TEST(AdDisplay, LongLinesAreSplitAndAShortBodyStillShows) {
    AdShell s;
    const QString sixty = u"Cheap flights to Rome with Ryanair and save on every seat!!!"_s;
    ASSERT_EQ(sixty.size(), 60);
    const QString forty = u"Fly to Rome, Milan or Venice for less!!!"_s;
    ASSERT_EQ(forty.size(), 40);
    const QString noLateSpace = u"Flights "_s.append(QString(40, u'z'));
    const QString body = u"Book your trip to Rome today   and save on every single seat"_s;
    const struct {
        CDownloader_Parsers_SE_result ad;
        QStringList shown;
    } cases[] = {
        {Ad(sixty, {}), {u"Cheap flights to Rome with Ryanair"_s, u"and save on every seat!!!"_s}},
        {Ad(forty, {}), {forty}},
        {Ad(noLateSpace, {}), {noLateSpace}},
        {Ad(sixty, u"Second line"_s), {sixty, u"Second line"_s}},
        {Ad({}, {}, body), {u"Book your trip to Rome today"_s, u"and save on every single seat"_s}},
        {Ad({}, {}, u"Rome from 19 EUR"_s), {u"Rome from 19 EUR"_s}},
        {Ad({}, u"Only a second line"_s), {QString(), u"Only a second line"_s}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s.AdLines(c.ad), c.shown) << c.ad.ad_line1.toStdString() << "|" << c.ad.body.toStdString();
}

// Runs stack downwards with the link last, cut at 400 pixels; without a destination there is no link. Over
// the link the tooltip offers it and a click opens it in the browser; leaving takes the offer back.
TEST(AdDisplay, TheDestinationIsALinkThatOpensInTheBrowser) {
    AdShell s;
    CDownloader_Parsers_SE_result ad = Ad(u"Fares from every airline"_s, {});
    s.display.SetAd(ad);
    EXPECT_EQ(s.display.m_runs.size(), 3u);
    ad.full_url = u"http://www.flights.example/rome?from=ad&campaign="_s + QString(200, u'c');
    s.display.SetAd(ad);
    ASSERT_EQ(s.display.m_runs.size(), 5u);
    for (std::size_t i = 1; i < s.display.m_runs.size(); ++i)
        EXPECT_GT(s.display.m_runs[i].rect.top, s.display.m_runs[i - 1].rect.bottom) << i;
    const CSkinAdDisplay_Label& link = s.display.m_runs.back();
    EXPECT_TRUE(link.link);
    EXPECT_EQ(link.rect.width(), CSkinAdDisplay::kLinkMaxWidth);
    int width = 0;
    int height = 0;
    s.display.GetContentSize(width, height);
    EXPECT_EQ(width, CSkinAdDisplay::kLinkMaxWidth);
    EXPECT_EQ(height, link.rect.bottom);

    DefaultPlatformServices().Clear();
    const plat::Point inLink = Middle(link.rect);
    s.display.OnMouse(inLink.x, inLink.y, skin::kMouseMove);
    EXPECT_EQ(s.display.m_hotRun, 4);
    EXPECT_EQ(s.display.m_tooltip, u"Click to open link"_s);
    s.display.OnMouse(inLink.x, inLink.y, skin::kMouseReleased);
    EXPECT_EQ(DefaultPlatformServices().OpenedUrls(), QStringList{ad.full_url});
    // The title is no link: a click on it opens nothing.
    const plat::Point inTitle = Middle(s.display.m_runs.front().rect);
    s.display.OnMouse(inTitle.x, inTitle.y, skin::kMouseReleased);
    EXPECT_TRUE(s.display.m_tooltip.isEmpty());
    EXPECT_EQ(DefaultPlatformServices().OpenedUrls().size(), 1);
    s.display.OnMouse(inLink.x, inLink.y, skin::kMouseMove);
    s.display.OnMouseLeave();
    EXPECT_EQ(s.display.m_hotRun, -1);
    EXPECT_TRUE(s.display.m_tooltip.isEmpty());
}

// The preview opens with its right edge 30 pixels right of the click and 10 below it (never off the left of
// the screen; above the click where the screen ends below it), as large as the ad plus its margins; a press
// outside closes it and reaches nothing else.
TEST(AdPreview, OpensBesideTheClickAndClosesOnAPressOutside) {
    skintest::TestDialog report;
    CSkinButton cell;
    report.m_width = 760;
    report.m_height = 400;
    report.build = [&](skintest::TestDialog& d) {
        cell.Create(&d.m_rootHolder, d.m_nextElementId++, u"ad"_s, u"report_cell"_s);
        cell.SetPosition(10, 200, 40, 20, 0);
    };
    report.Open();
    plat::Application::processEvents();
    CDownloader_Parsers_SE_result ad = Ad({}, {}, u"Rome from 19 EUR & more"_s);
    ad.title = u"Flights & Hotels in Rome"_s;
    ad.full_url = u"http://www.flights.example/landing?campaign=rome"_s;
    for (const int offset : {700, 0}) {
        CSkinAdDisplay_Dlg popup(&report, &cell, offset, 12);
        popup.m_display.SetAd(ad);
        plat::Rect placed;
        plat::Rect content;
        skintest::ModalScript hook([&](CSkinDlg_Base&) {
            placed = skin::HostWindow(popup).windowRect();
            int width = 0;
            int height = 0;
            popup.m_display.GetContentSize(width, height);
            content = plat::Rect::fromXywh(popup.m_display.m_x, popup.m_display.m_y, width, height);
            skintest::PressMouse(popup, {-5, 40}, true);
        });
        report.commands.clear();
        EXPECT_EQ(popup.DoModal(), skin::kResultCancel);
        EXPECT_TRUE(report.commands.isEmpty());
        const plat::Point click = skin::HostWindow(report).clientToScreen({10 + offset, 200 + 12});
        EXPECT_EQ(placed.right, offset != 0 ? click.x + 30 : std::max(click.x + 30, placed.width()));
        EXPECT_EQ(placed.left, offset != 0 ? placed.right - placed.width() : 0) << offset;
        EXPECT_EQ(placed.top, click.y + 10);
        EXPECT_EQ(content.topLeft(), (plat::Point{17, 17}));
        EXPECT_EQ(placed.size(), (plat::Size{content.width() + 34, content.height() + 34}));
    }

    // A row near the bottom of the screen: the preview opens above the click, wholly on the screen.
    const plat::Rect area = plat::AvailableRectAt(skin::HostWindow(report).clientToScreen({0, 0}));
    const int clientTop =
        skin::HostWindow(report).clientToScreen({0, 0}).y - skin::HostWindow(report).windowRect().top;
    skin::HostWindow(report).move(200, area.bottom - 30 - (200 + 12) - clientTop);
    plat::Application::processEvents();
    const plat::Point click = skin::HostWindow(report).clientToScreen({10, 200 + 12});
    ASSERT_GT(click.y, area.bottom - 60);
    CSkinAdDisplay_Dlg popup(&report, &cell, 0, 12);
    popup.m_display.SetAd(ad);
    plat::Rect placed;
    skintest::ModalScript hook([&](CSkinDlg_Base&) {
        placed = skin::HostWindow(popup).windowRect();
        skintest::PressMouse(popup, {-5, 40}, true);
    });
    EXPECT_EQ(popup.DoModal(), skin::kResultCancel);
    EXPECT_EQ(placed.bottom, click.y - 10);
    EXPECT_GE(placed.top, area.top);
}

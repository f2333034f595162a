#include "app/main_dlg.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"
#include "tests/projects/kind_test.h"

using namespace Qt::StringLiterals;
using twtest::HttpReply;

namespace {

// The keyword tool keeps its exchange program-wide, so projects take turns at it.
class KeywordToolHold : public projtest::KindTest {
  protected:
    void SetUp() override {
        KindTest::SetUp();
        m_server.Serve(Endpoint::GoogleKeywordTool, "/select/KeywordToolCaptcha", {},
                       HttpReply::Page("\xFF\xD8picture\xFF\xD9", "image/jpeg"));
        // The first two projects' exchanges never get an answer; the third's does.
        for (const char* stalled : {"keywords=alpha", "keywords=beta"})
            m_server.Serve(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {stalled},
                           HttpReply::With(HttpReply::Delivery::Stall));
        m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=gamma"},
                           u"kind2/tool_reply.js"_s);
    }

    // Keyword-tool requests that carried keyword.
    int ToolRequestsFor(const std::string& keyword) const {
        int count = 0;
        for (const twtest::RecordedRequest& request : m_server.Requests())
            count += request.target.find("/VariationsTool") != std::string::npos &&
                     request.body.find("keywords=" + keyword) != std::string::npos;
        return count;
    }

    int IndexOf(const CProject* project) {
        const auto& projects = Window().dlg.m_projects;
        for (size_t i = 0; i < projects.size(); ++i)
            if (projects[i].get() == project)
                return int(i);
        return -1;
    }

    // Whether the tool's pacing lets a caller have a downloader now.
    static bool ToolFree() {
        const int job = g_pCrawler->SetCurrentJob(-1);
        CDownloader* downloader = g_pCrawler->GetDownloaderForHost(u"Google Bids"_s);
        if (downloader)
            downloader->Release();
        g_pCrawler->SetCurrentJob(job);
        return downloader != nullptr;
    }
};

} // namespace

// While one project's exchange runs, another that needs the tool waits for it instead of taking the shared
// exchange over; stopping the first project's run, or closing the tab of the project whose exchange runs,
// ends the hold, and so does an answered exchange.
TEST_F(KeywordToolHold, ASecondProjectWaitsUntilTheFirstExchangeEnds) {
    CProject* first = NewProject(2, u"alpha;"_s);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(TickUntil([&] { return ToolRequestsFor("alpha") == 1; }));
    EXPECT_FALSE(ToolFree());

    CProject* second = NewProject(2, u"beta;"_s);
    ASSERT_NE(second, nullptr);
    Tick(40);
    EXPECT_EQ(ToolRequestsFor("beta"), 0) << "the second project took over the first one's exchange";

    first->OnCommand(u"prj2_stop"_s, 0, &Window().dlg);
    ASSERT_TRUE(TickUntil([&] { return ToolRequestsFor("beta") == 1; })) << "stopping did not end the hold";

    CProject* third = NewProject(2, u"gamma;"_s);
    ASSERT_NE(third, nullptr);
    Tick(40);
    EXPECT_EQ(ToolRequestsFor("gamma"), 0);

    const int index = IndexOf(second);
    if (second->HasUnsavedResults())
        Window().script.Then(skintest::ModalScript::Answer(skin::kResultYes));
    Window().dlg.OnCommand(skin::cmd::kCloseProject, index);
    ASSERT_EQ(IndexOf(second), -1);
    ASSERT_TRUE(TickUntil([&] { return ToolRequestsFor("gamma") == 1; })) << "closing did not end the hold";
    ASSERT_TRUE(TickUntil([&] { return ToolFree(); })) << "the answered exchange kept the tool";
    EXPECT_EQ(m_pictureAsks, 1) << "the code typed for the first exchange served the others";
}

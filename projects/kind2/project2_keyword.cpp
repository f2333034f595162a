#include "projects/kind2/project2_keyword.h"

#include "net/saved_markup.h"
#include "projects/common/record_xml.h"
#include "projects/common/task_values.h"

using namespace Qt::StringLiterals;

namespace {

const QString kKeyword = u"keyword"_s;
const QString kTool = u"tool"_s;
const QString kIntent = u"intent"_s;
const QString kResults = u"results"_s;
const QString kAdCount = u"adCount"_s;
const QString kAds = u"ads"_s;
const QString kAd = u"ad"_s;
const QString kEngineKeys[kProject2Engines] = {u"google"_s, u"bing"_s, u"yahoo"_s};

} // namespace

void CProject2_Keyword::WriteXml(CDownloader_HTMLTags& node) const {
    SavedTreeWriter out(node);
    Write(out);
}

template <typename Writer> void CProject2_Keyword::Write(Writer& out) const {
    out.Value(kKeyword, keyword);
    out.Open(kTool);
    tool.Write(out);
    out.Close();
    out.Value(kIntent, intent);
    for (int i = 0; i < kProject2Engines; ++i) {
        out.Open(kEngineKeys[i]);
        out.Value(kResults, engines[i].results);
        out.Value(kAdCount, engines[i].adCount);
        WriteRecords(out, kAds, kAd, engines[i].ads);
        out.Close();
    }
    failed.Write(out);
}

template void CProject2_Keyword::Write(SavedTreeWriter&) const;
template void CProject2_Keyword::Write(SavedMarkupWriter&) const;

void CProject2_Keyword::ReadXml(const CDownloader_HTMLTags* node) {
    keyword = record_xml::LoadString(node, kKeyword);
    tool.ReadXml(record_xml::Child(node, kTool));
    intent = record_xml::LoadFloat(node, kIntent, task_value::kNotAsked);
    for (int i = 0; i < kProject2Engines; ++i) {
        const CDownloader_HTMLTags* engine = record_xml::Child(node, kEngineKeys[i]);
        engines[i].results = record_xml::LoadFloat(engine, kResults, task_value::kNotAsked);
        engines[i].adCount = record_xml::LoadInt(engine, kAdCount, task_value::kNotAsked);
        record_xml::LoadRecords(engine, kAds, kAd, engines[i].ads);
    }
    failed.ReadXml(node);
}

void CProject2_Keyword::ForgetFailures() {
    if (!failed.Any())
        return;
    if (failed.IsFailed(kToolTask))
        tool.estimatedSearch = tool.avgCPC = task_value::kNotAsked;
    for (int i = 0; i < kProject2Engines; ++i)
        if (failed.IsFailed(EngineTask(Project2Engine(i))))
            engines[i] = EngineResults();
    if (failed.IsFailed(kIntentTask))
        intent = task_value::kNotAsked;
    failed = CFailedTasks();
}

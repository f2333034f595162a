#include "projects/kind4/project4_records.h"

#include "projects/common/record_xml.h"

#include <cmath>

using namespace Qt::StringLiterals;
using namespace record_xml;
using task_value::kNotAsked;

namespace {

const QString kEngineKeys[kProject4EngineCount] = {u"google"_s, u"bing"_s, u"yahoo"_s};

// Counts pass an int's range, so they are written as whole numbers in plain digits and read back exactly.
void SaveCount(CDownloader_HTMLTags* node, const QString& key, double value) {
    SaveValue(node, key, QString::number(value, 'f', 0));
}

double LoadCount(const CDownloader_HTMLTags* node, const QString& key) {
    bool ok = false;
    const double value = LoadString(node, key).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : task_value::kNotAsked;
}

} // namespace

void CProject4_Keyword::WriteXml(CDownloader_HTMLTags& node) const {
    SaveValue(&node, u"keyword"_s, keyword);
    SaveValue(&node, u"searches"_s, searches);
    for (int e = 0; e < kProject4EngineCount; ++e) {
        CDownloader_HTMLTags* engine = node.AddChild(kEngineKeys[e], true);
        SaveCount(engine, u"results"_s, results[e]);
        SaveRecords(engine, u"top"_s, u"result"_s, top[e]);
    }
    failed.WriteXml(node);
}

void CProject4_Keyword::ReadXml(const CDownloader_HTMLTags* node) {
    keyword = LoadString(node, u"keyword"_s);
    searches = LoadFloat(node, u"searches"_s, kNotAsked);
    for (int e = 0; e < kProject4EngineCount; ++e) {
        const CDownloader_HTMLTags* engine = Child(node, kEngineKeys[e]);
        results[e] = LoadCount(engine, u"results"_s);
        LoadRecords(engine, u"top"_s, u"result"_s, top[e]);
    }
    failed.ReadXml(node);
}

void CProject4_Site::WriteXml(CDownloader_HTMLTags& node) const {
    SaveValue(&node, u"site"_s, site);
    SaveValue(&node, u"pageRank"_s, pageRank);
    SaveValue(&node, u"inlinks"_s, inlinks);
    SaveValue(&node, u"trafficRank"_s, trafficRank);
    SaveValue(&node, u"created"_s, created);
    failed.WriteXml(node);
}

void CProject4_Site::ReadXml(const CDownloader_HTMLTags* node) {
    site = LoadString(node, u"site"_s);
    pageRank = LoadInt(node, u"pageRank"_s, kNotAsked);
    inlinks = LoadInt(node, u"inlinks"_s, kNotAsked);
    trafficRank = LoadInt(node, u"trafficRank"_s, kNotAsked);
    created = LoadInt(node, u"created"_s, kNotAsked);
    failed.ReadXml(node);
}

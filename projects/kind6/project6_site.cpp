#include "projects/kind6/project6_site.h"

#include "projects/common/record_xml.h"

using namespace Qt::StringLiterals;

void CProject6_Site::WriteXml(CDownloader_HTMLTags& node) const {
    record_xml::SaveValue(&node, u"site"_s, site);
    record_xml::SaveValue(&node, u"url"_s, url);
    record_xml::SaveValue(&node, u"marker"_s, marker);
    record_xml::SaveValue(&node, u"test"_s, test);
    record_xml::SaveValue(&node, u"pageRank"_s, pageRank);
    record_xml::SaveValue(&node, u"trafficRank"_s, trafficRank);
    failed.WriteXml(node);
}

void CProject6_Site::ReadXml(const CDownloader_HTMLTags* node) {
    site = record_xml::LoadString(node, u"site"_s);
    url = record_xml::LoadString(node, u"url"_s);
    marker = record_xml::LoadString(node, u"marker"_s);
    test = record_xml::LoadInt(node, u"test"_s, task_value::kNotAsked);
    pageRank = record_xml::LoadInt(node, u"pageRank"_s, task_value::kNotAsked);
    trafficRank = record_xml::LoadInt(node, u"trafficRank"_s, task_value::kNotAsked);
    failed.ReadXml(node);
}

void CProject6_Site::ForgetFailures() {
    if (failed.IsFailed(kHomePageTask)) {
        test = pageRank = trafficRank = task_value::kNotAsked;
        marker.clear();
    }
    if (failed.IsFailed(kPageRankTask))
        pageRank = task_value::kNotAsked;
    if (failed.IsFailed(kTrafficRankTask))
        trafficRank = task_value::kNotAsked;
    failed = CFailedTasks();
}

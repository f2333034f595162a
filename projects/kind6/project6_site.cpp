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
}

void CProject6_Site::ReadXml(const CDownloader_HTMLTags* node) {
    site = record_xml::LoadString(node, u"site"_s);
    url = record_xml::LoadString(node, u"url"_s);
    marker = record_xml::LoadString(node, u"marker"_s);
    test = record_xml::LoadInt(node, u"test"_s, kUntested);
    pageRank = record_xml::LoadInt(node, u"pageRank"_s, -1);
    trafficRank = record_xml::LoadInt(node, u"trafficRank"_s, -1);
}

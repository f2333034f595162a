#include "parsers/se_result.h"

#include "net/html_tags.h"

using namespace Qt::StringLiterals;

namespace {

void WriteText(CDownloader_HTMLTags& node, const QString& key, const QString& value) {
    if (!value.isEmpty())
        node.AddChild(key, true)->SetText(value);
}

void WriteInt(CDownloader_HTMLTags& node, const QString& key, int value) {
    if (value != -1)
        node.AddChild(key, true)->SetInt(value);
}

} // namespace

void CDownloader_Parsers_SE_result::WriteXml(CDownloader_HTMLTags& node) const {
    // A record without a position is still written in full: organic results have none, and dropping their
    // texts would lose them on save.
    WriteInt(node, u"pos"_s, pos);
    WriteInt(node, u"second_flag"_s, second_flag);
    WriteText(node, u"title"_s, title);
    WriteText(node, u"body"_s, body);
    WriteText(node, u"show_url"_s, show_url);
    WriteText(node, u"full_url"_s, full_url);
    WriteText(node, u"ad_line1"_s, ad_line1);
    WriteText(node, u"ad_line2"_s, ad_line2);
}

bool CDownloader_Parsers_SE_result::ReadXml(const CDownloader_HTMLTags* node) {
    if (!node)
        return false;
    bool found = false;
    auto readInt = [&](const QString& key, int& out) {
        const CDownloader_HTMLTags* value = node->FindFirst({.tag = key});
        CDownloader_HTMLTags::GetInt(value, out, -1);
        found = found || value;
    };
    auto readText = [&](const QString& key, QString& out) {
        const CDownloader_HTMLTags* value = node->FindFirst({.tag = key});
        CDownloader_HTMLTags::GetString(value, out, QString());
        found = found || value;
    };
    readInt(u"pos"_s, pos);
    readInt(u"second_flag"_s, second_flag);
    readText(u"title"_s, title);
    readText(u"body"_s, body);
    readText(u"show_url"_s, show_url);
    readText(u"full_url"_s, full_url);
    readText(u"ad_line1"_s, ad_line1);
    readText(u"ad_line2"_s, ad_line2);
    return found;
}

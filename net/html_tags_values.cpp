#include "core/number_text.h"
#include "net/html_tag_name.h"
#include "net/html_tags.h"

CDownloader_HTMLTags* CDownloader_HTMLTags::AddChild(const QString& name, bool reuse) {
    CDownloader_HTMLTags node;
    node.m_text = HtmlNodeText(name.startsWith(u'<') ? name : u'<' + name + u'>');
    node.SetFlag(kClosed, true);
    if (reuse) {
        const HtmlUpperName wanted(node.m_text.View());
        // Text children have no name; a nameless key reuses nothing.
        if (!wanted.View().isEmpty()) {
            for (CDownloader_HTMLTags& child : m_children) {
                if (!child.IsTextNode() && HtmlUpperName(child.m_text.View()).View() == wanted.View()) {
                    child.ReleaseChildren();
                    return &child;
                }
            }
        }
    }
    m_children.push_back(std::move(node));
    return &m_children.back();
}

bool CDownloader_HTMLTags::SetText(const QString& text) {
    ReleaseChildren();
    CDownloader_HTMLTags& value = m_children.emplace_back();
    value.m_text = HtmlNodeText(text);
    value.SetFlag(kText, true);
    return true;
}

void CDownloader_HTMLTags::AddPrewritten(const QString& markup) {
    CDownloader_HTMLTags& node = m_children.emplace_back();
    node.m_text = HtmlNodeText(markup);
    node.SetFlag(kPrewritten, true);
}

bool CDownloader_HTMLTags::SetInt(int value) {
    return SetText(number_text::FormatInt(value));
}

bool CDownloader_HTMLTags::SetFloat(float value) {
    return SetText(number_text::FormatFixed(static_cast<double>(value), 6));
}

bool CDownloader_HTMLTags::SetBool(bool value) {
    return SetText(value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool CDownloader_HTMLTags::GetInt(const CDownloader_HTMLTags* node, int& out, int defaultValue) {
    out = defaultValue;
    if (!node)
        return false;
    const std::optional<int> value = number_text::ReadInt(node->GetInnerText(false));
    if (!value)
        return false;
    out = *value;
    return true;
}

bool CDownloader_HTMLTags::GetFloat(const CDownloader_HTMLTags* node, float& out, float defaultValue) {
    out = defaultValue;
    if (!node)
        return false;
    const std::optional<float> value = number_text::ReadFloat(node->GetInnerText(false));
    if (!value)
        return false;
    out = *value;
    return true;
}

bool CDownloader_HTMLTags::GetBool(const CDownloader_HTMLTags* node, bool& out, bool defaultValue) {
    out = defaultValue;
    if (!node)
        return false;
    const QString text = node->GetInnerText(false).toLower().trimmed();
    out = text != u"false" && text != u"0";
    return out;
}

bool CDownloader_HTMLTags::GetString(const CDownloader_HTMLTags* node, QString& out,
                                     const QString& defaultValue) {
    out = defaultValue;
    return GetString(node, out);
}

bool CDownloader_HTMLTags::GetString(const CDownloader_HTMLTags* node, QString& out) {
    if (!node)
        return false;
    out = node->GetInnerText(false);
    return true;
}

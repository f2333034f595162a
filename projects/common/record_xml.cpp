#include "projects/common/record_xml.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace record_xml {

const CDownloader_HTMLTags* ProjectRoot(const CDownloader_HTMLTags* tree, int kind) {
    return tree ? tree->FindFirst(u"Project"_s + QString::number(kind)) : nullptr;
}

const CDownloader_HTMLTags* Child(const CDownloader_HTMLTags* node, const QString& key) {
    return node ? node->FindChild(key) : nullptr;
}

std::vector<const CDownloader_HTMLTags*> Children(const CDownloader_HTMLTags* node, const QString& key) {
    std::vector<const CDownloader_HTMLTags*> found;
    if (!node)
        return found;
    for (const CDownloader_HTMLTags& child : node->GetChildren())
        if (child.IsElementNamed(key))
            found.push_back(&child);
    return found;
}

void SaveValue(CDownloader_HTMLTags* node, const QString& key, int value) {
    node->AddChild(key, true)->SetInt(value);
}

void SaveValue(CDownloader_HTMLTags* node, const QString& key, float value) {
    node->AddChild(key, true)->SetFloat(value);
}

void SaveValue(CDownloader_HTMLTags* node, const QString& key, const QString& value) {
    node->AddChild(key, true)->SetText(value);
}

int LoadInt(const CDownloader_HTMLTags* node, const QString& key, int defaultValue) {
    int value = defaultValue;
    CDownloader_HTMLTags::GetInt(Child(node, key), value, defaultValue);
    return value;
}

float LoadFloat(const CDownloader_HTMLTags* node, const QString& key, float defaultValue) {
    float value = defaultValue;
    CDownloader_HTMLTags::GetFloat(Child(node, key), value, defaultValue);
    return std::isfinite(value) ? value : defaultValue;
}

QString LoadString(const CDownloader_HTMLTags* node, const QString& key, const QString& defaultValue) {
    QString value = defaultValue;
    CDownloader_HTMLTags::GetString(Child(node, key), value, defaultValue);
    return value;
}

} // namespace record_xml

#pragma once

#include "net/html_tags.h"
#include "net/saved_markup.h"

#include <QString>
#include <vector>

// Saving and reading a kind's values and record arrays below its element "Project<kind>". A record type
// writes itself with WriteXml(CDownloader_HTMLTags&) const and reads itself with
// ReadXml(const CDownloader_HTMLTags*), as the search-result and keyword-tool records do.
namespace record_xml {

// The kind's element in a loaded file, or null.
const CDownloader_HTMLTags* ProjectRoot(const CDownloader_HTMLTags* tree, int kind);
// The child named key (any case) directly below node, or null.
const CDownloader_HTMLTags* Child(const CDownloader_HTMLTags* node, const QString& key);
// Every child named key (any case) directly below node, in order.
std::vector<const CDownloader_HTMLTags*> Children(const CDownloader_HTMLTags* node, const QString& key);

void SaveValue(CDownloader_HTMLTags* node, const QString& key, int value);
void SaveValue(CDownloader_HTMLTags* node, const QString& key, float value);
void SaveValue(CDownloader_HTMLTags* node, const QString& key, const QString& value);
// A missing value, and a float that is no real number (a damaged file), leaves the default.
int LoadInt(const CDownloader_HTMLTags* node, const QString& key, int defaultValue);
float LoadFloat(const CDownloader_HTMLTags* node, const QString& key, float defaultValue);
QString LoadString(const CDownloader_HTMLTags* node, const QString& key, const QString& defaultValue = {});

// Writes the records below a new child listKey of node, each as an element itemKey, for a saved file (the
// tree holds their written text, which queries do not see).
template <typename Record>
void SaveRecords(CDownloader_HTMLTags* node, const QString& listKey, const QString& itemKey,
                 const std::vector<Record>& records) {
    CDownloader_HTMLTags* list = node->AddChild(listKey, false);
    if (records.empty())
        return;
    // The records are kept as their saved text, all in one: a large project would otherwise make and free
    // a node for every value of every record. A record that can writes its text straight; any other is
    // made in one small tree and written from there.
    if constexpr (requires(const Record& record, SavedMarkupWriter& out) { record.Write(out); }) {
        SavedMarkupWriter out;
        for (const Record& record : records) {
            out.Open(itemKey);
            record.Write(out);
            out.Close();
        }
        list->AddPrewritten(out.Take());
    } else {
        QString markup;
        CDownloader_HTMLTags item;
        for (const Record& record : records) {
            record.WriteXml(*item.AddChild(itemKey, false));
            markup += item.ToText({}, CDownloader_HTMLTags::Escaping::Values);
            item.GetChildren().clear();
        }
        list->AddPrewritten(markup);
    }
}

// Reads what SaveRecords wrote into out (replacing its content); a missing list gives no records.
template <typename Record>
void LoadRecords(const CDownloader_HTMLTags* node, const QString& listKey, const QString& itemKey,
                 std::vector<Record>& out) {
    out.clear();
    const std::vector<const CDownloader_HTMLTags*> items = Children(Child(node, listKey), itemKey);
    out.reserve(items.size());
    for (const CDownloader_HTMLTags* item : items)
        out.emplace_back().ReadXml(item);
}

} // namespace record_xml

#pragma once

#include <QString>
#include <vector>

class CDownloader_HTMLTags;

// Two writers of a record's keys with the same calls, so a record type writes itself once for both: one
// adds the keys to a tree as AddChild and the setters do; the other writes, straight into text, the markup
// the saved-file writer would write for those nodes, to be kept with AddPrewritten. A large project's
// records are written the second way, without a node per value. Keys are plain element names.

// Adds to a tree: each value as a child made with AddChild(key, true) and its setter, each opened element
// with AddChild(key, false).
class SavedTreeWriter {
  public:
    explicit SavedTreeWriter(CDownloader_HTMLTags& node) : m_open{&node} {}

    void Value(const QString& key, const QString& text);
    void Value(const QString& key, int value);
    void Value(const QString& key, float value);
    void Open(const QString& key);
    void Close() { m_open.pop_back(); }

  private:
    std::vector<CDownloader_HTMLTags*> m_open;
};

// Writes markup at depth 0: the first element opened starts the text, one element a line, values escaped.
class SavedMarkupWriter {
  public:
    void Value(const QString& key, const QString& text);
    void Value(const QString& key, int value);
    void Value(const QString& key, float value);
    void Open(const QString& key);
    void Close();
    // The markup written so far; the writer is empty after.
    QString Take() { return std::move(m_text); }

  private:
    struct OpenElement {
        QString key;
        bool hasChildren;
    };
    // A line break and the indentation of the element about to be written, a child of the open ones.
    void StartChild();
    void LineAtDepth(qsizetype depth);

    QString m_text;
    std::vector<OpenElement> m_open;
};

// A list element listKey holding an element itemKey for each record, written by the record's Write.
template <typename Writer, typename Record>
void WriteRecords(Writer& out, const QString& listKey, const QString& itemKey,
                  const std::vector<Record>& records) {
    out.Open(listKey);
    for (const Record& record : records) {
        out.Open(itemKey);
        record.Write(out);
        out.Close();
    }
    out.Close();
}

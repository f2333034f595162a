#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class CDownloader_HTMLTags;

// The failed mark of one record: which of its tasks (a bit each, numbered by the kind: a lane, a field)
// ended in a failed exchange, with the error the bar showed for each. A failed task keeps its no-data value,
// so sorting, filters and comparisons treat it as no data; the mark makes its cell read "Failed" and lets
// Start ask it again. A record saved without the key has nothing failed, as in every file written before.
class CFailedTasks {
  public:
    static constexpr int kMaxTasks = 32;
    // What a cell of a failed task reads, in the grid and in exports.
    static inline const QString kCellText = QStringLiteral("Failed");

    // task: 0 to kMaxTasks - 1; others are ignored.
    void Mark(int task, const QString& error);
    // The task is no longer failed: it is about to be asked again.
    void Clear(int task);
    bool IsFailed(int task) const;
    bool Any() const { return m_bits != 0; }
    // The error of a failed task, empty for one that did not fail.
    QString Error(int task) const;

    // The key below the record's element, written only when something failed.
    template <typename Writer> void Write(Writer& out) const;
    void WriteXml(CDownloader_HTMLTags& node) const;
    // Reads the key below node; without it nothing failed.
    void ReadXml(const CDownloader_HTMLTags* node);

    friend bool operator==(const CFailedTasks&, const CFailedTasks&) = default;

  private:
    std::uint32_t m_bits = 0;
    // Indexed by task; as long as the highest task ever marked.
    std::vector<QString> m_errors;
};

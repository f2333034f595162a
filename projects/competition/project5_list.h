#pragma once

#include "projects/competition/project5_entry.h"

#include <QString>
#include <vector>

class CDownloader_HTMLTags;

// The monitored pairs of kind 5 and how often they are checked. The program keeps one such list, in
// "project5.zxml" in the data folder; project files of kind 5 hold the same values below "Project5".
class CProject5_List {
  public:
    enum class FileState { Missing, Loaded, Unreadable };

    static constexpr int kMinIntervalHours = 1;
    static constexpr int kMaxIntervalHours = 24;
    static constexpr int kDefaultIntervalHours = 6;
    static inline const QString kFileName = QStringLiteral("project5.zxml");
    static inline const QString kRootName = QStringLiteral("Project5");

    // Writes the values and pairs below element (the "Project5" element of a file).
    void WriteXml(CDownloader_HTMLTags& element) const;
    // Replaces the list with what element holds; pairs without a keyword or site and repeated pairs are
    // dropped.
    void ReadXml(const CDownloader_HTMLTags& element);
    // Appends the pairs of other that the list does not hold yet, with their checks; the count added.
    int Merge(const std::vector<CProject5_Entry>& other);
    // Appends the pair unless the list holds it; false when it did.
    bool Add(const CProject5_Entry& entry);
    bool Contains(const CProject5_Entry& entry) const;

    // Reads the list file. Missing: nothing to read, the list stays empty. Unreadable: the file exists but
    // cannot be read or is no list; the list stays empty, and the caller must not write over the file.
    FileState LoadFile(const QString& path);
    // Writes the list file atomically; false leaves the old file as it was.
    bool SaveFile(const QString& path) const;

    std::vector<CProject5_Entry> m_entries;
    int m_intervalHours = kDefaultIntervalHours;
    // Checks run on their schedule while this is set.
    bool m_running = true;
};

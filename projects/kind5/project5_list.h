#pragma once

#include "projects/kind5/project5_entry.h"

#include <QString>
#include <vector>

class CDownloader_HTMLTags;

// The monitored pairs of kind 5 and how often they are checked. The program keeps one such list, in
// "project5.zxml" in the data folder; project files of kind 5 hold the same values below "Project5".
class CProject5_List {
  public:
    enum class FileState { Missing, Loaded, Unreadable, Damaged };

    static constexpr int kMinIntervalHours = 1;
    static constexpr int kMaxIntervalHours = 24;
    static constexpr int kDefaultIntervalHours = 6;
    static inline const QString kFileName = QStringLiteral("project5.zxml");
    static inline const QString kRootName = QStringLiteral("Project5");

    // Writes the values and pairs below element (the "Project5" element of a file).
    void WriteXml(CDownloader_HTMLTags& element) const;
    // Replaces the list with what element holds; a pair that repeats an earlier one is dropped. False when
    // element is not whole (a value or pair that cannot be read, or lost its end tag): the list then holds
    // the pairs that could be read.
    bool ReadXml(const CDownloader_HTMLTags& element);
    // Appends the pairs of other that the list does not hold yet, each once, with their checks; the count
    // added.
    int Merge(const std::vector<CProject5_Entry>& other);

    // Reads the list file. Missing: nothing to read, the list stays empty. Unreadable: the file exists but
    // cannot be read or is no list. Damaged: a list cut short or with pairs that cannot be read. In these
    // two the list stays empty, and the caller must not write over the file: it holds what was watched.
    FileState LoadFile(const QString& path);
    // Writes the list file atomically; false leaves the old file as it was.
    bool SaveFile(const QString& path) const;

    std::vector<CProject5_Entry> m_entries;
    int m_intervalHours = kDefaultIntervalHours;
    // Checks run on their schedule while this is set.
    bool m_running = true;
};

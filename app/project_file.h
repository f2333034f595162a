#pragma once

#include "net/html_tags.h"

#include <QString>

class CProject;

// The frame of a project file: the tree's root holds one element "Project1" to "Project8" naming the kind,
// with the kind's own values and records below it.

// The kind a loaded file holds, 1 to 8: the last of "Project1".."Project8" found at any depth decides. 0 when
// there is none.
int ProjectFileKind(CDownloader_HTMLTags& tree);

// Whether the file's element "Project<kind>" stands complete at its top level: a file cut short or damaged
// at its end leaves it open.
bool ProjectFileComplete(const CDownloader_HTMLTags& tree, int kind);

// Reads the project file at path into tree, as the open command does: the kind it holds (1 to 8), or 0 when
// the file cannot be read, names no kind, or leaves any element open or closes one out of order. A file cut
// short or one that lost an end tag would open with part of its values silently missing, so it is refused as
// a whole.
int ReadProjectFile(const QString& path, CDownloader_HTMLTags& tree);

// Loads a file read by ReadProjectFile into a project of its kind whose view exists. What was just read is in
// its file, so it counts as saved.
void LoadProjectFile(CProject& project, CDownloader_HTMLTags& tree);

// The document a save writes: the element "Project<kind>" with what the project's SaveXml puts below it.
CDownloader_HTMLTags ProjectFileTree(CProject& project);

// The path a project is saved under: the chosen one, with ".twpx" appended unless it already ends so (the
// case counts).
QString ProjectFilePath(const QString& chosen);

inline constexpr char16_t kProjectFileSuffix[] = u".twpx";

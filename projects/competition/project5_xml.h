#pragma once

#include <QString>

class CDownloader_HTMLTags;

namespace project5 {

// An element (not text) named name, in any letter case.
bool IsElementNamed(const CDownloader_HTMLTags& node, const QString& name);

// The first direct child named name, or null: the list's and an entry's keys must not be taken from the
// elements nested below them.
const CDownloader_HTMLTags* DirectChild(const CDownloader_HTMLTags& node, const QString& name);

} // namespace project5

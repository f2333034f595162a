#pragma once

#include <QString>
#include <span>

class CDownloader_HTMLTags;

namespace project5 {

// An element (not text) named name, in any letter case.
bool IsElementNamed(const CDownloader_HTMLTags& node, const QString& name);

// The first direct child named name, or null: the list's and an entry's keys must not be taken from the
// elements nested below them.
const CDownloader_HTMLTags* DirectChild(const CDownloader_HTMLTags& node, const QString& name);

// The first direct child named like each of names (null where there is none) into first, in one pass: a list
// of many pairs reads several keys from each of its elements.
void FirstDirectChildren(const CDownloader_HTMLTags& node, std::span<const QString> names,
                         std::span<const CDownloader_HTMLTags*> first);

// Whether a value element (or its absence, null) is whole. The reader closes an element whose end tag was
// lost at its parent's end tag, so such a value holds the elements that followed it and they are lost to
// their parent.
bool IsWholeValue(const CDownloader_HTMLTags* value);

} // namespace project5

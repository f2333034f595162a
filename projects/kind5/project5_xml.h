#pragma once

class CDownloader_HTMLTags;

namespace project5 {

// Whether a value element (or its absence, null) is whole. The reader closes an element whose end tag was
// lost at its parent's end tag, so such a value holds the elements that followed it and they are lost to
// their parent.
bool IsWholeValue(const CDownloader_HTMLTags* value);

// The whole number a value element of the list holds (defaultValue when it is missing or holds none), as
// CDownloader_HTMLTags::GetInt reads it. A value of one text, as the list writes each one, is read in place:
// a list of a million checks would otherwise copy out four texts per check.
int ReadIntValue(const CDownloader_HTMLTags* value, int defaultValue);

} // namespace project5

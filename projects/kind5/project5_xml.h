#pragma once

class CDownloader_HTMLTags;

namespace project5 {

// Whether a value element (or its absence, null) is whole. The reader closes an element whose end tag was
// lost at its parent's end tag, so such a value holds the elements that followed it and they are lost to
// their parent.
bool IsWholeValue(const CDownloader_HTMLTags* value);

} // namespace project5

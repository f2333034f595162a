#include "projects/kind5/project5_xml.h"

#include "net/html_tags.h"

#include <algorithm>

namespace project5 {

bool IsWholeValue(const CDownloader_HTMLTags* value) {
    return !value || std::all_of(
                         value->GetChildren().begin(), value->GetChildren().end(),
                         [](const CDownloader_HTMLTags& child) { return child.IsTextNode(); });
}

} // namespace project5

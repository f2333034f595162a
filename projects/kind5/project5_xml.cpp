#include "projects/kind5/project5_xml.h"

#include "core/number_text.h"
#include "net/html_tags.h"

#include <algorithm>

namespace project5 {

bool IsWholeValue(const CDownloader_HTMLTags* value) {
    return !value || std::all_of(
                         value->GetChildren().begin(), value->GetChildren().end(),
                         [](const CDownloader_HTMLTags& child) { return child.IsTextNode(); });
}

int ReadIntValue(const CDownloader_HTMLTags* value, int defaultValue) {
    // The list's keys are no elements whose text the reader keeps apart (a script's, say), so one text
    // child is the value's whole text.
    if (value && value->GetChildren().size() == 1) {
        const CDownloader_HTMLTags& text = value->GetChildren().front();
        if (text.IsTextNode() && !text.IsComment())
            return number_text::ReadInt(text.GetTextView()).value_or(defaultValue);
    }
    int out = defaultValue;
    CDownloader_HTMLTags::GetInt(value, out, defaultValue);
    return out;
}

} // namespace project5

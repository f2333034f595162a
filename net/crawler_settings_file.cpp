#include "net/crawler_settings_file.h"

#include "net/saved_file.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

using Node = CDownloader_HTMLTags;

// A root element whose end tag is missing (a file cut off while it was written) has its keys beside it at
// the top level: they move into it, as its end tag would have moved them.
void AdoptFollowingNodes(Node& document, const Node* root) {
    std::vector<Node>& top = document.GetChildren();
    const auto at = top.begin() + (root - top.data());
    std::vector<Node>& children = at->GetChildren();
    children.insert(children.end(), std::make_move_iterator(at + 1), std::make_move_iterator(top.end()));
    top.erase(at + 1, top.end());
}

bool IsBlank(const Node& node) {
    if (!node.IsTextNode() || node.IsComment())
        return false;
    const QStringView text = node.GetTextView();
    // The 0x00 that ends every saved file is no content.
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace() || c.isNull(); });
}

// Where the settings element's start tag ("<" rootName, then ">", "/" or white space) first stands in
// bytes, any case; -1 when nowhere.
qsizetype FindStartTag(const QByteArray& bytes, const QString& rootName) {
    const QByteArray tag = '<' + rootName.toUtf8();
    for (qsizetype at = bytes.indexOf('<'); at >= 0; at = bytes.indexOf('<', at + 1)) {
        const qsizetype after = at + tag.size();
        if (after >= bytes.size())
            return -1;
        const char next = bytes[after];
        if ((next == '>' || next == '/' || std::strchr(" \t\r\n", next) != nullptr) &&
            qstrnicmp(bytes.constData() + at, tag.constData(), tag.size()) == 0)
            return at;
    }
    return -1;
}

// Makes root the only node of document. The line breaks between its keys go too: the writer puts them back,
// so a loaded file is saved exactly as a new one.
void KeepOnly(Node& parsed, Node* root, Node& document) {
    if (!root->IsClosed())
        AdoptFollowingNodes(parsed, root);
    Node element = std::move(*root);
    std::erase_if(element.GetChildren(), IsBlank);
    document = Node();
    document.GetChildren().push_back(std::move(element));
}

} // namespace

SettingsFileContent TakeSettingsElement(const QByteArray& bytes, const QString& rootName, Node& document) {
    Node parsed;
    ParseSavedFileBytes(parsed, bytes);
    if (Node* root = parsed.FindChild(rootName)) {
        const std::vector<Node>& top = parsed.GetChildren();
        const bool alone = std::all_of(top.begin(), top.end(), [root](const Node& node) {
            return &node == root || IsBlank(node) || (!root->IsClosed() && &node > root);
        });
        KeepOnly(parsed, root, document);
        return alone ? SettingsFileContent::SettingsAlone : SettingsFileContent::SettingsAndMore;
    }
    const std::vector<Node>& top = parsed.GetChildren();
    if (std::all_of(top.begin(), top.end(), IsBlank)) {
        document = Node();
        return SettingsFileContent::Nothing;
    }
    // Junk before the settings whose last tag is unfinished takes the settings' start tag into that tag:
    // the settings are read from their own start tag on.
    const qsizetype start = FindStartTag(bytes, rootName);
    if (start > 0) {
        Node resumed;
        ParseSavedFileBytes(resumed, bytes.sliced(start));
        if (Node* root = resumed.FindChild(rootName)) {
            KeepOnly(resumed, root, document);
            return SettingsFileContent::SettingsAndMore;
        }
    }
    document = Node();
    return SettingsFileContent::NoSettings;
}

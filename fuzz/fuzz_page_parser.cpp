// Feeds arbitrary bytes, decoded as UTF-8, to the page parser, then runs every kind of query over the tree,
// copies it and parses the same text again: nothing may crash, hang or read out of range, and the results
// must not depend on which copy or which parse they come from.
#include "net/html_tags.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace {

using Node = CDownloader_HTMLTags;

// Tag and attribute names that occur in the seeds, so the queries have something to find.
QString NameFrom(const QString& text, int pick) {
    static const char16_t* names[] = {u"a", u"div", u"li", u"span", u"href", u"class", u"id", u"x"};
    if (!text.isEmpty() && pick % 3 == 0)
        return text.left(1 + pick % 4);
    return QString::fromUtf16(names[static_cast<unsigned>(pick) % std::size(names)]);
}

QString QueryEverything(const Node& root, const QString& text) {
    QString summary;
    std::vector<const Node*> found;
    root.FindAll(found, {.tag = NameFrom(text, 1)});
    root.FindAll(found, {.className = NameFrom(text, 2)}, false);
    root.FindAll(found, {.id = NameFrom(text, 6)}, false);
    root.FindAll(found, {.name = NameFrom(text, 3), .attribute = NameFrom(text, 4)}, false);
    for (const Node* node : found) {
        summary += node->GetTagName(true);
        summary += node->GetAttribute(NameFrom(text, 4));
        summary += node->GetAttribute(QStringLiteral("class"));
        summary += node->GetInnerText(true, QStringLiteral(" SCRIPT A "));
    }
    if (const Node* first = root.FindFirst({.attribute = NameFrom(text, 5)}))
        summary += first->GetInnerText(false);
    summary += root.GetInnerText(false);
    summary += root.GetInnerText(true);
    return summary;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Node root;
    root.Parse(text);
    const QString summary = QueryEverything(root, text);

    const Node copy(root);
    if (QueryEverything(copy, text) != summary)
        __builtin_trap();

    Node again = copy;
    again.Parse(text);
    if (QueryEverything(again, text) != summary)
        __builtin_trap();

    QStringList items;
    ParseJsStringList(items, text);
    (void)DecodeHtmlEntities(text);
    return 0;
}

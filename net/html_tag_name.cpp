#include "net/html_tag_name.h"

#include "net/html_tags.h"

#include <QString>
#include <algorithm>
#include <array>
#include <vector>

namespace {

// A name packed as HtmlTagKindOf takes it, so a name is looked up with a few integer comparisons.
quint64 PackedName(QStringView name) {
    if (name.isEmpty() || name.size() > 8)
        return 0;
    quint64 key = 0;
    for (const QChar c : name) {
        if (c.unicode() == 0 || c.unicode() >= 0x80)
            return 0;
        key = key << 7 | c.unicode();
    }
    return key << 4 | quint64(name.size());
}

struct KindEntry {
    quint64 key;
    HtmlTagKind kind;
};

std::vector<KindEntry> KindTable() {
    std::vector<KindEntry> table;
    const auto add = [&table](QStringView list, bool HtmlTagKind::*flag) {
        for (const QStringView word : list.tokenize(u' ', Qt::SkipEmptyParts)) {
            const quint64 key = PackedName(word);
            auto it =
                std::find_if(table.begin(), table.end(), [key](const KindEntry& e) { return e.key == key; });
            if (it == table.end())
                it = table.insert(table.end(), KindEntry{key, {}});
            it->kind.*flag = true;
        }
    };
    add(html_tag_lists::kVoidElements, &HtmlTagKind::isVoid);
    add(html_tag_lists::kRawTextElements, &HtmlTagKind::isRawText);
    add(html_tag_lists::kImplicitlyClosed, &HtmlTagKind::isImplicitlyClosed);
    return table;
}

// The names by their length, so a name is compared only with names as long. Read for every tag of every
// page: built at start-up, so reading it needs no guard.
std::array<std::vector<KindEntry>, 9> ByLength() {
    std::array<std::vector<KindEntry>, 9> lists;
    for (const KindEntry& entry : KindTable())
        lists[entry.key & 15].push_back(entry);
    return lists;
}
const std::array<std::vector<KindEntry>, 9> kKindsByLength = ByLength();

} // namespace

HtmlTagKind HtmlTagKindOf(quint64 packedName) {
    if (packedName != 0) {
        for (const KindEntry& entry : kKindsByLength[packedName & 15])
            if (entry.key == packedName)
                return entry.kind;
    }
    return {};
}

HtmlTagKind HtmlTagKindOf(QStringView upperName) {
    return HtmlTagKindOf(PackedName(upperName));
}

void HtmlUpperName::AssignUnicode(QStringView name) {
    m_long = name.toString().toUpper();
    // Upper-casing may make a listed name of letters outside ASCII (a dotless i gives I).
    m_key = PackedName(m_long);
}

bool TagListContains(QStringView list, QStringView name) {
    if (name.isEmpty())
        return list.contains(u"  ");
    for (qsizetype at = list.indexOf(name); at >= 0; at = list.indexOf(name, at + 1)) {
        const qsizetype after = at + name.size();
        if (at > 0 && list[at - 1] == u' ' && after < list.size() && list[after] == u' ')
            return true;
    }
    return false;
}

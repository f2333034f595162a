#include "app/project_file.h"

#include "app/project.h"
#include "net/saved_file.h"

#include <algorithm>
#include <array>
#include <span>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKindCount = 8;

QString RootName(int kind) {
    return u"Project"_s + QString::number(kind);
}

} // namespace

int ProjectFileKind(CDownloader_HTMLTags& tree) {
    // The last of the names found anywhere decides. A saved file holds its kind's element at the top level,
    // so the names up to that one need no search, and the rest are looked for in a single walk: eight
    // whole-tree searches of a large project take longer than reading its records.
    const auto& top = tree.GetChildren();
    const auto atTopLevel = [&](const QString& name) {
        return tree.MatchesTag(name) ||
               std::any_of(top.begin(), top.end(), [&](const auto& child) { return child.MatchesTag(name); });
    };
    int kind = 0;
    for (int k = 1; k <= kKindCount; ++k)
        if (atTopLevel(RootName(k)))
            kind = k;
    std::array<QString, kKindCount> higher;
    std::array<const CDownloader_HTMLTags*, kKindCount> found{};
    const int count = kKindCount - kind;
    for (int i = 0; i < count; ++i)
        higher[i] = RootName(kind + 1 + i);
    tree.FindFirstOfEach(std::span(higher.data(), count), std::span(found.data(), count));
    for (int i = count - 1; i >= 0; --i)
        if (found[i])
            return kind + 1 + i;
    return kind;
}

bool ProjectFileComplete(const CDownloader_HTMLTags& tree, int kind) {
    return SavedRootClosed(tree, RootName(kind));
}

int ReadProjectFile(const QString& path, CDownloader_HTMLTags& tree) {
    // A file that lost an element would open with the values after it silently gone, and the next save
    // would lose them for good: it is refused whole. The kind is decided first, so one object is made for
    // the file whatever it holds.
    bool whole = false;
    const int kind = LoadTreeFromFile(tree, path, &whole) && whole ? ProjectFileKind(tree) : 0;
    return kind != 0 && ProjectFileComplete(tree, kind) ? kind : 0;
}

void LoadProjectFile(CProject& project, CDownloader_HTMLTags& tree) {
    project.LoadXml(&tree);
    project.m_hasResults = false;
}

CDownloader_HTMLTags ProjectFileTree(CProject& project) {
    CDownloader_HTMLTags tree;
    project.SaveXml(tree.AddChild(RootName(project.m_kind), false));
    return tree;
}

QString ProjectFilePath(const QString& chosen) {
    const QString suffix = QString::fromUtf16(kProjectFileSuffix);
    return chosen.endsWith(suffix, Qt::CaseSensitive) ? chosen : chosen + suffix;
}

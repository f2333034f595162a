#include "app/project_file.h"

#include "app/project.h"
#include "net/saved_file.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKindCount = 8;

QString RootName(int kind) {
    return u"Project"_s + QString::number(kind);
}

} // namespace

int ProjectFileKind(CDownloader_HTMLTags& tree) {
    // A saved file holds its kind's element at the top level. The whole tree of a large project takes long
    // to walk, so it is searched only when nothing there names a kind.
    const auto& top = tree.GetChildren();
    const auto atTopLevel = [&](const QString& name) {
        return tree.MatchesTag(name) ||
               std::any_of(top.begin(), top.end(), [&](const auto& child) { return child.MatchesTag(name); });
    };
    for (const bool wholeTree : {false, true}) {
        int kind = 0;
        for (int k = 1; k <= kKindCount; ++k)
            if (wholeTree ? tree.FindFirst(RootName(k)) != nullptr : atTopLevel(RootName(k)))
                kind = k;
        if (kind != 0)
            return kind;
    }
    return 0;
}

bool ProjectFileComplete(const CDownloader_HTMLTags& tree, int kind) {
    return SavedRootClosed(tree, RootName(kind));
}

int ReadProjectFile(const QString& path, CDownloader_HTMLTags& tree) {
    // The kind is decided first, so one object is made for the file whatever it holds.
    const int kind = LoadTreeFromFile(tree, path) ? ProjectFileKind(tree) : 0;
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

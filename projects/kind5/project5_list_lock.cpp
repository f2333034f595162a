#include "projects/kind5/project5_list_lock.h"

#include <QLockFile>
#include <map>

using namespace Qt::StringLiterals;

QString CProject5_ListLock::LockPath(const QString& listPath) {
    return listPath + u".lock"_s;
}

std::shared_ptr<QLockFile> CProject5_ListLock::Take(const QString& listPath) {
    // Only the user-interface thread opens projects.
    static std::map<QString, std::weak_ptr<QLockFile>> held;
    const QString path = LockPath(listPath);
    if (std::shared_ptr<QLockFile> shared = held[path].lock())
        return shared;
    auto lock = std::make_shared<QLockFile>(path);
    // Held for hours while the monitor runs: only a dead owner makes it stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock())
        return nullptr;
    held[path] = lock;
    return lock;
}

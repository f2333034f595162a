#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Only one running program may own the monitoring list: two would each write their own copy and bring back
// what the other deleted. The owner holds a lock file beside the list for as long as a kind-5 project of
// it is open; the kind-5 objects of one program share that hold. A lock left by a program that died is
// taken over.
class CProject5_ListLock {
  public:
    // A hold on the lock of the list at listPath, shared with this program's other holds; null when
    // another program holds it or it cannot be made.
    static std::shared_ptr<QLockFile> Take(const QString& listPath);
    // The lock file of the list at listPath.
    static QString LockPath(const QString& listPath);
};

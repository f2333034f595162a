#include "skin/context_menu.h"

namespace skin {

namespace {

ContextMenuRunner& Runner() {
    static ContextMenuRunner runner;
    return runner;
}

} // namespace

void SetContextMenuRunner(ContextMenuRunner runner) {
    Runner() = std::move(runner);
}

void RunContextMenu(CSkinElement& owner, int x, int y, const std::vector<ContextMenuItem>& items) {
    // A copy: the menu may replace the runner while it runs.
    const ContextMenuRunner runner = Runner();
    if (runner) {
        runner(owner, x, y, items);
    }
}

} // namespace skin

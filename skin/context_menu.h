#pragma once

#include <QString>
#include <functional>
#include <vector>

class CSkinElement;

namespace skin {

// One entry of a context menu: its text ("-" draws a separator) and the command the dialog hears when the
// user chooses it.
struct ContextMenuItem {
    QString text;
    QString command;
    int param = 0;
};

// Opens a context menu owned by an element at (x, y) relative to it; the chosen item's command then reaches
// the owner's dialog like a click. The popup menu window installs itself as the runner; without a runner no
// menu opens and nothing is sent.
using ContextMenuRunner =
    std::function<void(CSkinElement& owner, int x, int y, const std::vector<ContextMenuItem>& items)>;

void SetContextMenuRunner(ContextMenuRunner runner);
void RunContextMenu(CSkinElement& owner, int x, int y, const std::vector<ContextMenuItem>& items);

} // namespace skin

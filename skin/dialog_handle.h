#pragma once

#include <memory>

class CSkinDlg_Base;

namespace skin {

// What a dialog shares with the handles to it; the dialog clears it as it dies.
struct DialogLife {
    CSkinDlg_Base* dialog;
};

// A non-owning pointer to a dialog that reads null once the dialog has died, for work that reaches the
// dialog later than the call that asked for it (a menu's command).
class DialogHandle {
  public:
    DialogHandle() = default;
    explicit DialogHandle(CSkinDlg_Base* dialog);

    CSkinDlg_Base* Get() const { return m_life ? m_life->dialog : nullptr; }

  private:
    std::shared_ptr<const DialogLife> m_life;
};

} // namespace skin

#pragma once

#include <QPointer>
#include <QWidget>

namespace plat {

// Keeps a window the window manager does not manage (a shadow) directly below another window in the X11
// stacking order, that is below the frame the window manager put the other window in: on apply, and again
// whenever the window manager restacks the other window or gives it a new frame. Does nothing where there
// is no X11 display.
class StackBelow {
  public:
    StackBelow(QWidget* window, QWidget* sibling);
    ~StackBelow();
    StackBelow(const StackBelow&) = delete;
    StackBelow& operator=(const StackBelow&) = delete;

    // Restacks now, when both windows are shown; false when nothing was done.
    bool apply();

    // For the X11 event filter: window w was configured (now standing right above below) or reparented.
    void windowChanged(unsigned long w, unsigned long below, bool reparented);

  private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_sibling;
    unsigned long m_own = 0;    // our window, as last stacked
    unsigned long m_client = 0; // the sibling's own window
    unsigned long m_frame = 0;  // the sibling's frame (or its own window when it has none)
};

} // namespace plat

#pragma once

#include "platform/device_context.h"
#include "platform/geometry.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace plat {

class HostWidget;

enum class WindowKind {
    // A top-level frameless window: dialogs and the main window.
    Dialog,
    // A grabbing popup the window manager never frames (menus, drop lists, the colour picker, the ad
    // preview): while shown it holds the pointer and the keyboard; a press outside it, Esc, or the focus
    // going to another window or program calls onCancelPopup. A press outside reaches no other window.
    Popup,
    // Never takes the focus or the keyboard; shown without activation.
    Tooltip,
    // Translucent (per-pixel alpha from the back buffer), click-through, never focused and never managed by
    // the window manager; kept directly below its parent in the stacking order, so it never covers the
    // windows of other programs that stand above the parent: shadows.
    Layered,
};

enum class SizeType { Restored, Minimized, Maximized };

enum class CursorShape { Arrow, Hand, SizeWE, SizeNS, SizeNWSE, SizeNESW };

enum class TrayClick { Left, Right, Double };

// A top-level window with plain virtual message handlers. The host draws through a back buffer the size of
// the window: onPaint composes into it and the host shows it. Handlers are ordinary virtual functions, so
// tests call them directly. Coordinates are client (window) coordinates unless they say screen.
class Window {
  public:
    explicit Window(Window* parent = nullptr, WindowKind kind = WindowKind::Dialog);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    Window* parent() const { return m_parent; }
    WindowKind kind() const { return m_kind; }

    // Modal run: onInitDialog, then a nested event loop until endDialog; the window is then hidden, its
    // timers stopped, onDestroy called, and the end code returned. A window with a parent blocks input to
    // its parent chain while it runs. endDialog before or during onInitDialog ends the run at once.
    int doModal();
    void endDialog(int code);
    bool isInModalLoop() const { return m_inModal; }
    // Runs once in every modal run, from inside its loop after the window is shown: tests press buttons,
    // type and end dialogs from here instead of waiting on a real user. Null removes it.
    static void setModalShownHook(std::function<void(Window&)> hook);

    // Visibility and state.
    void show();           // shows and activates
    void showNoActivate(); // shows without taking the activation
    // Shows the window opening downwards over durationMs where the window system can animate it (X11); it
    // holds its input from the start. Elsewhere it shows at once.
    void showSlidingDown(int durationMs);
    void hide();
    // Hides the window at once and, where the window system blends windows (a compositor runs), lets what
    // it showed fade out over durationMs in its place; the window itself is free again at once.
    void hideFading(int durationMs);
    bool isVisible() const;
    void setEnabled(bool enabled);
    bool isEnabled() const;
    bool isActive() const;
    void bringToFront();
    void setFocus(); // the keyboard focus to this window

    void minimize();
    void maximize(); // to the work area of the screen the window is on
    void restore();
    bool isMinimized() const { return m_minimized; }
    bool isMaximized() const { return m_maximized; }

    // Placement, in screen coordinates. The host keeps every window reachable (see KeepReachable).
    void setGeometry(const Rect& screenRect);
    // Size limits the window manager keeps to (tiling, keyboard resizing): a resizable window never gets
    // smaller than minimum; any other keeps the size this program gives it. Our own placing keeps to them
    // too.
    void setSizeLimits(bool resizable, Size minimum);
    void move(int x, int y);
    void resize(int width, int height);
    Rect windowRect() const; // screen coordinates
    Size clientSize() const;
    void centerOnParent(); // over the parent, or on the work area when there is none
    Rect workArea() const; // the work area of the screen the window is on
    Point clientToScreen(Point p) const;
    Point screenToClient(Point p) const;

    void setWindowText(const QString& text);
    QString windowText() const;
    // Whether the window has a task-bar button; takes effect when the window is next shown from hidden
    // (changing it on a shown window would re-create the window under its children).
    void setShowInTaskbar(bool show);
    void setIcon(const QString& imagePath); // the window and tray icon, from a file or Qt resource

    // A rounded window shape: the rectangle (0, 0, width, height) (right and bottom excluded) with corners
    // cut by an ellipse of the given size; pixels outside it are neither shown nor hit. clearRegion goes back
    // to the full rectangle.
    void setRoundRectRegion(int width, int height, int ellipseWidth, int ellipseHeight);
    void clearRegion();
    bool regionContains(int x, int y) const; // whether the window's shape holds client point (x, y)

    // Painting. invalidate asks for onPaint before the next showing; redrawNow paints at once (a hidden
    // window only composes its back buffer); showBackBuffer puts part of the back buffer on the screen
    // without calling onPaint.
    void invalidate();
    void redrawNow();
    void showBackBuffer(const Rect& rect);
    DeviceContext& backBuffer() { return m_back; }

    // Timers by id: setTimer (re)starts one, killTimer stops it; onTimer(id) runs each period.
    void setTimer(unsigned id, int intervalMs);
    void killTimer(unsigned id);
    bool hasTimer(unsigned id) const;

    // Mouse capture: while set, every mouse message of the application comes to this window (in its client
    // coordinates), even over other windows.
    void setCapture();
    void releaseCapture();
    bool hasCapture() const;
    static Window* captureWindow();
    void setCursorShape(CursorShape shape);

    // Text drag and drop. acceptDrops lets onDragOver / onDrop see text dragged over the window;
    // startTextDrag drags text out (copy) and answers whether a target took it.
    void acceptDrops(bool accept);
    bool startTextDrag(const QString& text);

    // Tray icon with the window's icon; addTrayIcon answers false when there is no system tray
    // (see IsSystemTrayAvailable), and the caller then minimises normally.
    bool addTrayIcon(const QString& tip);
    void removeTrayIcon();
    bool hasTrayIcon() const;

    // Handlers.
    virtual void onInitDialog() {}
    virtual void onDestroy() {}
    virtual void onPaint(DeviceContext& /*dc*/) {}
    virtual void onSize(SizeType /*type*/, int /*width*/, int /*height*/) {}
    virtual void onMove(int /*x*/, int /*y*/) {} // screen position of the top-left corner
    virtual void onMouseMove(int /*x*/, int /*y*/) {}
    virtual void onMouseLeave() {} // the pointer left the window
    virtual void onLButtonDown(int /*x*/, int /*y*/) {}
    virtual void onLButtonUp(int /*x*/, int /*y*/) {}
    virtual void onLButtonDblClk(int /*x*/, int /*y*/) {}
    virtual void onRButtonDown(int /*x*/, int /*y*/) {}
    virtual void onRButtonUp(int /*x*/, int /*y*/) {}
    // delta in 1/120 of a notch, positive away from the user; answers whether it was used.
    virtual bool onMouseWheel(int /*delta*/, int /*x*/, int /*y*/) { return false; }
    // Keys (see keys.h); answer true when handled. F1 not handled by onKeyDown becomes onHelp.
    virtual bool onKeyDown(int /*key*/, unsigned /*modifiers*/, bool /*autoRepeat*/) { return false; }
    virtual bool onKeyUp(int /*key*/, unsigned /*modifiers*/, bool /*autoRepeat*/) { return false; }
    virtual void onChar(const QString& /*text*/) {}
    virtual void onTimer(unsigned /*id*/) {}
    virtual void onActivate(bool /*active*/) {}
    virtual void onKillFocus() {} // the keyboard focus left the window (not to one of its child widgets)
    virtual void onClose() {}     // the user or the window manager asked to close; the window stays
    virtual void onHelp() {}
    virtual void onDragEnter() {}
    virtual bool onDragOver(int /*x*/, int /*y*/) { return false; } // true: a drop here is welcome
    virtual bool onDrop(int /*x*/, int /*y*/, const QString& /*text*/) { return false; }
    virtual void onDragLeave() {}
    virtual void onTrayIcon(TrayClick /*click*/) {}
    // A popup was dismissed (see WindowKind::Popup). Default: ends the modal run with 0, or hides the popup.
    virtual void onCancelPopup();

    QWidget* widget() const; // for the platform layer and tests

  private:
    friend class HostWidget;
    void deliverSize(bool force);
    void render();
    bool needsRender() const;
    void dispatchTimer(int qtTimerId);
    void stateChangedByUser(bool minimized);
    void prepareShow(); // flags, transient parent (above the parent; blocked by our modal run), placement
    void place(const Rect& screenRect); // within the size limits

    Window* m_parent;
    WindowKind m_kind;
    DeviceContext m_back;
    struct Data;
    std::unique_ptr<Data> m_d;
    bool m_inModal = false;
    bool m_minimized = false;
    bool m_maximized = false;
};

// Whether a system tray exists to hold a tray icon.
bool IsSystemTrayAvailable();

} // namespace plat

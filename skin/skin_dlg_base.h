#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/window.h"
#include "skin/dialog_frame.h"
#include "skin/dialog_handle.h"
#include "skin/glow_text_cache.h"
#include "skin/host_window.h"
#include "skin/markup_draw.h"
#include "skin/pointer_state.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/wnd_shadow.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

// Base of every window the system draws itself: dialogs, the main window, popups and message boxes. A
// subclass creates elements in CreateElements; the base paints them through its back buffer, hit-tests the
// mouse, routes keys, shows tooltips and turns clicks into command strings for OnCommand. Framed dialogs
// also get the caption buttons, dragging by the caption band, resizing by the borders, the rounded shape and
// minimising to the tray.
//
// The platform window is a protected base: a dialog is ended, invalidated and redrawn only through its own
// operations (EndSkinDialog, Invalidate, RedrawNow), never through the window's lower-level twins. The
// toolkit's own parts reach the window through skin::HostWindow.
class CSkinDlg_Base : protected plat::Window {
  public:
    explicit CSkinDlg_Base(CSkinDlg_Base* parent = nullptr, plat::WindowKind kind = plat::WindowKind::Dialog);
    ~CSkinDlg_Base() override;

    int DoModal();
    // Runs hook once in every modal run of a dialog, from inside its loop after the window shows, so tests
    // press buttons, type and end dialogs there instead of waiting on a real user. Null removes it.
    static void SetDialogShownHook(std::function<void(CSkinDlg_Base&)> hook);
    // The system's message box over this dialog (CMessageBoxDlg): type's low four bits choose the buttons,
    // the next four the icon (skin_constants.h); answers 1 OK, 2 Cancel, 6 Yes or 7 No. An empty caption is
    // the product's name.
    int MessageBox(const QString& text, const QString& caption = QString(), unsigned type = skin::kMessageOk);

    virtual void ShowTooltip(bool show) = 0;
    // The element under the pointer went out of sight (hidden as a page changed under it): its tooltip,
    // shown or still due, goes with it. Any other element leaves the tooltip alone.
    void DropTooltipOf(const CSkinElement* element);
    virtual void RenderAll(plat::DeviceContext& dc);
    virtual void CreateElements() = 0;
    // The dialog's own commands first, the rest passed on to the base; true when handled.
    virtual bool OnCommand(const QString& command, int param);
    virtual void DrawBackground(plat::DeviceContext& dc) = 0;
    virtual void OnKeyPressed(int /*vk*/) {}
    virtual void OnSizeChanged(plat::SizeType sizeType);
    virtual void OnDialogKillFocus() {}
    // Stores the result; the dialog ends at its next timer tick. 0 is no result.
    virtual void EndSkinDialog(int result);
    // Each timer of the dialog, after the skin's own handling of it (the tick, border and caption drags). A
    // timer that ends the dialog with its pending result goes no further.
    virtual void OnTimer(unsigned /*id*/) {}

    void SuspendPaint() { m_paintSuspended = true; }
    void RedrawNow();
    void Invalidate();
    // Keeps the plain title as the window text; the drawn title derives its markup from it.
    void SetTitle(const QString& text);
    const QString& Title() const { return m_title; }
    bool DropTextAt(int x, int y, const QString* text);
    bool BeginDragAt(int x, int y, QString* text);

    // Markup in the given fonts, or the dialog's own where none is given (markup_draw.h).
    plat::Size DrawMarkupText(plat::DeviceContext& dc, const QString& text, int x, int y,
                              plat::ColorRef color, const plat::Font* normal = nullptr,
                              const plat::Font* bold = nullptr) const;
    plat::Size DrawListMarkupText(plat::DeviceContext& dc, const QString& text, int left, int top, int right,
                                  int bottom, plat::ColorRef color, const plat::Font* normal = nullptr,
                                  const plat::Font* bold = nullptr) const;
    plat::Size MeasureMarkupText(const QString& text, const plat::Font* normal = nullptr,
                                 const plat::Font* bold = nullptr) const;
    plat::Size DrawGlowText(plat::DeviceContext& dc, const QString& text, int x, int y,
                            plat::ColorRef textColor, plat::ColorRef glowColor, const plat::Font* normal,
                            const plat::Font* bold, int divisor);

    // A surface with the dialog font selected, for measuring text outside painting.
    plat::DeviceContext& MeasureDC();
    // Drops every pointer the dialog keeps to element or to anything inside it.
    void ForgetElement(CSkinElement* element);
    static void ClearHoverSlot(CSkinElement* element);
    static CSkinElement* HoverSlot() { return s_hoverSlot; }
    // Elements that take part in the drop and drag hit test, in the order they asked (EnableDragDrop).
    void ListForDragDrop(CSkinElement* element);
    void UnlistForDragDrop(CSkinElement* element);
    // An element that places a native window of its own over the dialog (the HTML viewer, an edit field's
    // editing child) hears after every paint until it dies, so that window shows only where and while the
    // element is drawn. Listing an element again keeps it listed once.
    void ListOverlay(CSkinElement* element);
    // The manual F1 opens: "User Manual.pdf" in the program's folder.
    static QString UserManualPath();
    // Opens a manual in the user's PDF viewer. When it cannot be opened (not there, no viewer, the viewer
    // failed) this dialog says so, naming the file, once the opener has ended; the window never waits for it.
    void OpenManualFile(const QString& path);

    // The result EndSkinDialog stored, 0 while there is none.
    int Result() const { return m_result; }
    bool PaintSuspended() const { return m_paintSuspended; }
    // From the end of the dialog's window (its modal run is over) or the start of its destruction: nothing
    // may be sent to the dialog any more.
    bool IsTornDown() const { return m_tornDown; }
    const skin::PointerState& Pointer() const { return m_pointer; }
    skin::DialogFrame& Frame() { return m_frame; }
    const CWndShadow& Shadow() const { return m_shadow; }
    // The window's widget, for the platform layer and tests that send real input.
    using plat::Window::widget;

    // Window handlers.
    void onInitDialog() override;
    void onDestroy() override;
    void onPaint(plat::DeviceContext& dc) override;
    void onSize(plat::SizeType type, int width, int height) override;
    void onMove(int x, int y) override;
    void onMouseMove(int x, int y) override;
    void onMouseLeave() override;
    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onLButtonDblClk(int x, int y) override;
    void onRButtonDown(int x, int y) override;
    void onRButtonUp(int x, int y) override;
    bool onMouseWheel(int delta, int x, int y) override;
    bool onKeyDown(int key, unsigned modifiers, bool autoRepeat) override;
    bool onKeyUp(int key, unsigned modifiers, bool autoRepeat) override;
    // Dialogs handle their timers in OnTimer.
    void onTimer(unsigned id) final;
    void onActivate(bool active) override;
    void onKillFocus() override;
    void onClose() override;
    void onHelp() override;
    void onDragEnter() override;
    bool onDragOver(int x, int y) override;
    bool onDrop(int x, int y, const QString& text) override;
    void onDragLeave() override;
    void onTrayIcon(plat::TrayClick click) override;

    // Size, frame and behaviour, set by a subclass before DoModal; the size then follows the window.
    int m_width = 600;
    int m_height = 500;
    int m_minWidth = 200;
    int m_minHeight = 70;
    QString m_title = QStringLiteral("Tarnwick 2.0");
    bool m_framed = true;
    bool m_hasTitleBar = true;
    bool m_hasIcon = true;
    bool m_maximizable = true;
    bool m_minimizable = true;
    bool m_movable = true;
    bool m_closable = true;
    bool m_minimizeToTray = false;
    // Popup behaviour: the dialog holds the mouse capture and a press outside it cancels.
    bool m_captureMode = false;
    // Without it the window is centred on its parent as it opens.
    bool m_keepPosition = false;
    bool m_startMaximized = false;

    // What the dialog's elements share: the skin atlas (not owned), the root container, the fonts and the
    // next element id.
    plat::DeviceContext* m_pAtlasDC = nullptr;
    CSkinDlgHolder m_rootHolder{false, true};
    const plat::Font m_font;           // the dialog font: 15 px
    const plat::Font m_fontBold14;     // bold 14 px
    const plat::Font m_fontBold15;     // bold 15 px
    const plat::Font m_fontMarkupBold; // bold 15 px, for <b>
    const plat::Font m_fontBold19;     // bold 19 px
    const plat::Font m_fontSup;        // 12 px, for <sup>
    unsigned m_nextElementId;

    // The elements under the pointer, pressed and with the keyboard focus.
    skin::ElementHandle m_pHover;
    skin::ElementHandle m_pPressed;
    skin::ElementHandle m_pFocus;

  protected:
    // The tooltip is told about input that closes it or keeps it; CSkinDlg owns the tooltip window.
    virtual void TooltipInput(bool closeNow, int x, int y);

    // The tooltip of the hovered element: its text and dialog rectangle, and whether it shows.
    QString m_tooltipText;
    plat::Rect m_tooltipRect;
    bool m_tooltipShown = false;

  private:
    friend class skin::DialogHandle;
    friend class skin::DialogFrame;
    friend plat::Window& skin::HostWindow(CSkinDlg_Base& dlg);
    friend const plat::Window& skin::HostWindow(const CSkinDlg_Base& dlg);

    // Element under (x, y) found by the root holder, with the given button state.
    void UpdateHover(int x, int y, int state);
    // Leave and enter notifications when the element under the pointer changed.
    void SyncHoverSlot();
    void UpdateTooltipDue(int x, int y);
    // The first visible element listed for drops and drags that holds (x, y), and its dialog position.
    CSkinElement* DragDropElementAt(int x, int y, plat::Point* at) const;
    bool InClient(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    void ClickFocused();
    // Sends pressed's command when the element is still the pressed one and has a command.
    void FirePressedCommand(const skin::ElementHandle& pressed, QString CSkinElement::*command,
                            int CSkinElement::*param);
    skin::MarkupFonts MarkupFontsFor(const plat::Font* normal, const plat::Font* bold) const;

    // The element under the pointer in whichever window has it, so leaving one window for another sends
    // the leave and enter notifications in order.
    static skin::ElementHandle s_hoverSlot;
    // The dialogs in a modal run, innermost last, so the shown hook finds the dialog of a window.
    static std::vector<CSkinDlg_Base*> s_modalRuns;
    // Set once initialised; size events before are ignored.
    bool m_ready = false;
    bool m_paintSuspended = false;
    bool m_opening = false; // inside onInitDialog, before the window shows
    bool m_active = false;
    bool m_tornDown = false;
    int m_result = 0;
    qint64 m_tooltipDue = -1; // -1: none
    std::vector<CSkinElement*> m_elements;
    std::vector<skin::ElementHandle> m_overlays;
    skin::PointerState m_pointer;
    skin::DialogFrame m_frame{*this};
    // Follows this window's moves, sizes, paints and end; shown only where the window system composites.
    CWndShadow m_shadow;
    plat::DeviceContext m_measureDC;
    skin::GlowTextCache m_glowCache;
    std::shared_ptr<skin::DialogLife> m_life;
};

#pragma once

#include "platform/geometry.h"

#include <QString>
#include <memory>

class QWidget;

namespace plat {

class Font;
class Window;

// Style bits of a native text field, combined with |.
enum EditStyle : unsigned {
    kEditMultiLine = 1u << 0,   // several lines; Enter starts a new one
    kEditNumber = 1u << 1,      // only digits can be typed (pasted text is taken as it is)
    kEditRightAlign = 1u << 2,  // the text stands at the right edge
    kEditPassword = 1u << 3,    // single-line: a dot per character, never the text
    kEditUpperCase = 1u << 4,   // single-line: letters become capitals as they are typed or pasted
    kEditAutoHScroll = 1u << 5, // multi-line: long lines scroll sideways instead of breaking at the edge
};

// A native text field standing over a window's drawing: the window system's own editing (caret, selection,
// clipboard, input methods) for a field the skin draws. It has no frame, no scroll bars and a white ground;
// the owner draws those around it. Its text uses CR LF between lines, as the rest of the program does.
// Handlers are plain virtual functions, as the window's are; the field may be destroyed inside any of them.
class NativeEdit {
  public:
    // A shown child of parent at rect (parent client coordinates) in font; the font must outlive the field.
    NativeEdit(Window& parent, const Rect& rect, unsigned style, const Font& font);
    NativeEdit(const NativeEdit&) = delete;
    NativeEdit& operator=(const NativeEdit&) = delete;
    // The keyboard focus, when the field has it, goes back to the parent window.
    virtual ~NativeEdit();

    unsigned style() const { return m_style; }

    // Text set here is not reported to onChange, and is cut at the limit.
    void setText(const QString& text);
    QString text() const;
    // How many characters the user can enter in all.
    void setLimitText(int characters);

    void selectAll();
    void setCaretToEnd();
    // The caret before the character nearest to p (field coordinates), scrolled into view.
    void setCaretAt(Point p);

    // The selection, in characters of text() (a line break counts two): start <= end, both the caret when
    // nothing is selected.
    void getSel(int* start, int* end) const;
    // Selects from anchor to caret, either way round; caret -1 is the end of the text and an anchor of -1
    // only clears the selection, leaving the caret. Positions past the end stand for the end.
    void setSel(int anchor, int caret);
    // Puts text in place of the selection (at the caret when there is none) and leaves the caret after it;
    // reported to onChange like typing. What goes past the limit is cut.
    void replaceSel(const QString& text);

    // Multi-line: the top line shown, and scrolling by whole lines (negative: up). Single-line: always 0.
    int firstVisibleLine() const;
    void lineScroll(int lines);

    // Stands at rect (parent client coordinates) showing only the part inside visible; nothing shows when
    // the two do not meet.
    void place(const Rect& rect, const Rect& visible);
    Rect geometry() const;
    bool isShown() const;

    void setFocus();
    bool hasFocus() const;

    QWidget* widget() const; // for the platform layer and tests

  protected:
    // The user changed the text: typing, deleting, pasting, cutting, undoing.
    virtual void onChange() {}
    // A key went up (auto-repeated releases are not reported); true when handled.
    virtual bool onKeyUp(int /*key*/, unsigned /*modifiers*/) { return false; }
    // Tab or Shift+Tab: the owner moves the focus, the window system's focus chain does not.
    virtual void onTab(bool /*backwards*/) {}
    virtual void onSetFocus() {}
    // After the field painted itself.
    virtual void onPaint() {}
    // The wheel turned over the field; (x, y) in parent client coordinates. The field never scrolls itself.
    virtual void onMouseWheel(int /*delta*/, int /*x*/, int /*y*/) {}

  private:
    friend class NativeEditBridge;

    unsigned m_style;
    int m_limit;
    struct Data;
    std::unique_ptr<Data> m_d;
};

} // namespace plat

#pragma once

#include "platform/window.h"
#include "skin/skin_dlg.h"
#include "skin/skin_element.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace skintest {

// The middle of an element.
inline plat::Point Centre(const CSkinElement& e) {
    const plat::Point p = e.GetDialogPos();
    return {p.x + e.m_width / 2, p.y + e.m_height / 2};
}

// An element that records the mouse calls and draws that reach it, and can take drops and offer drags.
class ProbeElement : public CSkinElement {
  public:
    struct Call {
        int x;
        int y;
        int state;
    };
    bool OnMouse(int x, int y, int state) override {
        calls.push_back({x, y, state});
        return CSkinElement::OnMouse(x, y, state);
    }
    void Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) override {
        ++draws;
        lastDraw = {x, y};
        if (fill != plat::kInvalidColor)
            dc.fillSolidRect(plat::Rect::fromXywh(x, y, m_width, m_height), fill);
    }
    void OnMouseLeave() override {
        if (onLeave)
            onLeave();
        CSkinElement::OnMouseLeave();
    }
    bool OnDropText(int x, int y, const QString* text) override {
        if (acceptsDrops && text) {
            dropped = *text;
            dropAt = {x, y};
        }
        return acceptsDrops;
    }
    bool OnBeginDrag(int /*x*/, int /*y*/, QString* text) override {
        if (text)
            *text = dragText;
        return !dragText.isEmpty();
    }

    std::vector<Call> calls;
    int draws = 0;
    plat::Point lastDraw;
    plat::ColorRef fill = plat::kInvalidColor;
    bool acceptsDrops = false;
    QString dropped;
    plat::Point dropAt;
    QString dragText;
    std::function<void()> onLeave;
};

// A dialog whose elements a test builds, and which records every command that reaches it.
class TestDialog : public CSkinDlg {
  public:
    explicit TestDialog(CSkinDlg_Base* parent = nullptr, plat::WindowKind kind = plat::WindowKind::Dialog)
        : CSkinDlg(parent, kind) {}

    void CreateElements() override {
        if (build)
            build(*this);
    }
    bool OnCommand(const QString& command, int param) override {
        commands.push_back(command);
        params.push_back(param);
        return (handle && handle(command, param)) || CSkinDlg::OnCommand(command, param);
    }
    void onHelp() override { ++helps; }
    void OnTimer(unsigned id) override {
        CSkinDlg::OnTimer(id);
        if (timer)
            timer(id);
    }

    // The initialisation a modal run starts with, without the modal loop: the test then calls handlers.
    void Open() {
        onInitDialog();
        onActivate(true);
    }
    void Key(int key, unsigned modifiers = 0) {
        onKeyDown(key, modifiers, false);
        onKeyUp(key, modifiers, false);
    }

    std::function<void(TestDialog&)> build;
    std::function<bool(const QString&, int)> handle;
    std::function<void(unsigned)> timer;
    QStringList commands;
    std::vector<int> params;
    int helps = 0;
};

// A press and release of the left button in the middle of an element, handed to the dialog's handlers
// without the window system: for dialogs opened without their modal loop.
inline void ClickElement(CSkinDlg_Base& dlg, const CSkinElement& e) {
    const plat::Point p = Centre(e);
    dlg.onMouseMove(p.x, p.y);
    dlg.onLButtonDown(p.x, p.y);
    dlg.onLButtonUp(p.x, p.y);
}

// A dialog that is never shown: its root holder is set up by hand, so elements have a dialog to report to.
struct UnshownDialog {
    UnshownDialog() {
        dlg.m_rootHolder.Create(&dlg.m_rootHolder, 1);
        dlg.m_rootHolder.SetPosition(0, 0, 400, 300, 0);
    }
    TestDialog dlg;
};

inline void Place(CSkinElement& e, CSkinDlgHolder& holder, int x, int y, int w, int h) {
    e.Create(&holder, 2);
    e.SetPosition(x, y, w, h, 0);
}

} // namespace skintest

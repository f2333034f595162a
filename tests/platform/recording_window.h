#pragma once

#include "platform/keys.h"
#include "platform/window.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

namespace twtest {

// Spins the event loop until done() holds or the time is up; answers done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QTest::qWait(5);
    return done();
}

// A window that writes down what its handlers were told.
class RecordingWindow : public plat::Window {
  public:
    using plat::Window::Window;

    struct MouseCall {
        QString what;
        int x, y;
    };
    struct KeyCall {
        bool down;
        int key;
        unsigned modifiers;
        bool autoRepeat;
    };
    struct SizeCall {
        plat::SizeType type;
        int width, height;
    };

    // Places and shows the window; answers whether it got exposed.
    bool ShowAt(const plat::Rect& r) {
        setGeometry(r);
        show();
        return QTest::qWaitForWindowExposed(widget());
    }
    int MouseCalls(const QString& what) const {
        return int(std::count_if(
            mouse.begin(), mouse.end(), [&](const MouseCall& c) { return c.what == what; }));
    }

    void onInitDialog() override {
        if (initAction)
            initAction(*this);
    }
    void onDestroy() override { ++destroys; }
    void onPaint(plat::DeviceContext& dc) override {
        ++paints;
        dc.fillSolidRect(plat::Rect{0, 0, dc.width(), dc.height()}, paintColor);
    }
    void onSize(plat::SizeType type, int width, int height) override {
        sizes.push_back({type, width, height});
    }
    void onMouseMove(int x, int y) override { mouse.push_back({QStringLiteral("move"), x, y}); }
    void onLButtonDown(int x, int y) override { mouse.push_back({QStringLiteral("ldown"), x, y}); }
    void onLButtonUp(int x, int y) override { mouse.push_back({QStringLiteral("lup"), x, y}); }
    void onRButtonDown(int x, int y) override { mouse.push_back({QStringLiteral("rdown"), x, y}); }
    void onRButtonUp(int x, int y) override { mouse.push_back({QStringLiteral("rup"), x, y}); }
    bool onMouseWheel(int delta, int x, int y) override {
        mouse.push_back({QStringLiteral("wheel%1").arg(delta), x, y});
        return true;
    }
    // The modifier keys' own presses are left out: the tests look at the keys they modify.
    bool onKeyDown(int key, unsigned modifiers, bool autoRepeat) override {
        return OnKey(true, key, modifiers, autoRepeat);
    }
    bool onKeyUp(int key, unsigned modifiers, bool autoRepeat) override {
        return OnKey(false, key, modifiers, autoRepeat);
    }
    void onChar(const QString& text) override { chars += text; }
    void onTimer(unsigned id) override {
        timers.push_back(id);
        if (timerAction)
            timerAction(*this, id);
    }
    void onKillFocus() override { ++focusLosses; }
    void onClose() override { ++closes; }
    void onHelp() override { ++helps; }
    bool onDragOver(int, int) override { return acceptDrop; }
    bool onDrop(int x, int y, const QString& text) override {
        drops << text;
        dropPoint = plat::Point{x, y};
        return acceptDrop;
    }
    void onCancelPopup() override {
        ++cancels;
        plat::Window::onCancelPopup();
    }

    std::function<void(RecordingWindow&)> initAction;
    std::function<void(RecordingWindow&, unsigned)> timerAction;
    plat::ColorRef paintColor = plat::Rgb(10, 20, 30);
    bool handleKeys = false;
    bool acceptDrop = true;
    int destroys = 0, paints = 0, focusLosses = 0, closes = 0, helps = 0, cancels = 0;
    std::vector<SizeCall> sizes;
    std::vector<MouseCall> mouse;
    std::vector<KeyCall> keys;
    std::vector<unsigned> timers;
    QString chars;
    QStringList drops;
    plat::Point dropPoint;

  private:
    bool OnKey(bool down, int key, unsigned modifiers, bool autoRepeat) {
        if (key != plat::kKeyShift && key != plat::kKeyControl && key != plat::kKeyAlt)
            keys.push_back({down, key, modifiers, autoRepeat});
        return handleKeys;
    }
};

} // namespace twtest

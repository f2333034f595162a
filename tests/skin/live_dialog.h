#pragma once

#include "tests/support/skin_test_support.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace skintest {

// A test dialog shown and active on the offscreen screen, driven by mouse and key events that go through the
// window system, as a user's would: a grabbing popup or a native editing child gets them as it would then.
class LiveDialog : public TestDialog {
  public:
    // Opens the dialog and waits until it is active.
    bool Show() {
        Open();
        return QTest::qWaitForWindowActive(widget());
    }
    QWindow* Handle() const { return widget()->windowHandle(); }
    void ClickAt(plat::Point p) { QTest::mouseClick(Handle(), Qt::LeftButton, {}, QPoint(p.x, p.y)); }
    void ClickOn(const CSkinElement& e, int dx = 0, int dy = 0) {
        const plat::Point c = Centre(e);
        ClickAt({c.x + dx, c.y + dy});
    }
    void MoveTo(plat::Point p) { QTest::mouseMove(Handle(), QPoint(p.x, p.y)); }
    // A key pressed and released, to whatever holds the keyboard.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(Handle(), key, modifiers);
    }
    void Type(const QString& text) {
        for (const QChar c : text)
            QTest::keyClick(Handle(), c.toLatin1());
    }
    // Lets posted paints and deferred deletions happen.
    static void Settle() { QTest::qWait(20); }
};

} // namespace skintest

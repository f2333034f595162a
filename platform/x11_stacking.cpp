#include "platform/x11_stacking.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#ifdef TW_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace plat {

#ifdef TW_HAVE_XCB

namespace {

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The ancestor of w that is a child of the root window: w itself, or the frame a window manager put it in.
xcb_window_t TopLevelOf(xcb_connection_t* connection, xcb_window_t w) {
    // Frames nest a few levels at most; the bound only guards against a window tree that changes under us.
    for (int depth = 0; depth < 16; ++depth) {
        std::unique_ptr<xcb_query_tree_reply_t, FreeReply> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, w), nullptr));
        if (!tree)
            return XCB_NONE;
        if (tree->parent == tree->root || tree->parent == XCB_NONE)
            return w;
        w = tree->parent;
    }
    return XCB_NONE;
}

// Hands the window manager's restacking and reparenting of followed windows to their StackBelow.
class StackingEvents : public QAbstractNativeEventFilter {
  public:
    static StackingEvents& instance() {
        static StackingEvents events;
        return events;
    }
    void add(StackBelow* follower) {
        if (m_followers.empty() && QCoreApplication::instance())
            QCoreApplication::instance()->installNativeEventFilter(this);
        m_followers.push_back(follower);
    }
    void remove(StackBelow* follower) {
        m_followers.erase(std::remove(m_followers.begin(), m_followers.end(), follower), m_followers.end());
        if (m_followers.empty() && QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int type = event->response_type & 0x7F;
        unsigned long window = 0, below = XCB_NONE;
        const bool reparented = type == XCB_REPARENT_NOTIFY;
        if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            window = configure->window;
            below = configure->above_sibling;
        } else if (reparented) {
            window = reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window;
        } else {
            return false;
        }
        // A copy: a follower may go away while another one restacks.
        const std::vector<StackBelow*> followers = m_followers;
        for (StackBelow* follower : followers)
            if (std::find(m_followers.begin(), m_followers.end(), follower) != m_followers.end())
                follower->windowChanged(window, below, reparented);
        return false; // Qt handles the event as always
    }

  private:
    std::vector<StackBelow*> m_followers;
};

} // namespace

StackBelow::StackBelow(QWidget* window, QWidget* sibling) : m_window(window), m_sibling(sibling) {
    if (X11Connection())
        StackingEvents::instance().add(this);
}

StackBelow::~StackBelow() {
    StackingEvents::instance().remove(this);
}

bool StackBelow::apply() {
    xcb_connection_t* connection = X11Connection();
    if (!connection || !m_window || !m_sibling || !m_window->isVisible() || !m_sibling->isVisible() ||
        !m_window->windowHandle() || !m_sibling->windowHandle())
        return false;
    m_client = xcb_window_t(m_sibling->winId());
    m_own = TopLevelOf(connection, xcb_window_t(m_window->winId()));
    const xcb_window_t frame = TopLevelOf(connection, xcb_window_t(m_client));
    if (m_own == XCB_NONE || frame == XCB_NONE || m_own == frame)
        return false;
    if (frame != m_client && frame != m_frame) {
        // Tell us when the window manager restacks the frame. (Our own windows report that to Qt, and so to
        // the filter, already; their event masks are Qt's and stay untouched.)
        const uint32_t mask[] = {XCB_EVENT_MASK_STRUCTURE_NOTIFY};
        xcb_change_window_attributes(connection, frame, XCB_CW_EVENT_MASK, mask);
    }
    m_frame = frame;
    const uint32_t values[] = {uint32_t(frame), XCB_STACK_MODE_BELOW};
    const xcb_void_cookie_t cookie = xcb_configure_window_checked(
        connection, xcb_window_t(m_own), XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    // Checked, so a refusal (the frame went away meanwhile) is answered here instead of logged as an error.
    std::unique_ptr<xcb_generic_error_t, FreeReply> error(xcb_request_check(connection, cookie));
    return !error;
}

void StackBelow::windowChanged(unsigned long w, unsigned long below, bool reparented) {
    if (m_frame == 0)
        return; // never stacked: nothing to keep
    // A new frame, or the frame restacked away from us.
    if ((reparented && w == m_client) || (!reparented && w == m_frame && below != m_own))
        apply();
}

#else

StackBelow::StackBelow(QWidget* window, QWidget* sibling) : m_window(window), m_sibling(sibling) {}
StackBelow::~StackBelow() = default;
bool StackBelow::apply() {
    return false;
}
void StackBelow::windowChanged(unsigned long, unsigned long, bool) {}

#endif

} // namespace plat

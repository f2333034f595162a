#include "platform/compositor.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#ifdef TW_HAVE_XCB
#include <xcb/xcb.h>
#endif

using namespace Qt::StringLiterals;

namespace plat {

namespace {

#ifdef TW_HAVE_XCB
// An X11 compositing manager owns the selection "_NET_WM_CM_S<screen>".
bool X11CompositorRuns() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    int screen = 0;
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    if (dot > display.lastIndexOf(':'))
        screen = display.mid(dot + 1).toInt();
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    const auto free = [](void* p) { std::free(p); };
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(free)> atom(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()),
            nullptr),
        free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        free);
    return owner && owner->owner != XCB_NONE;
}
#endif

} // namespace

bool TranslucentWindowsAvailable() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith("wayland"_L1))
        return true;
#ifdef TW_HAVE_XCB
    if (platform == "xcb"_L1)
        return X11CompositorRuns();
#endif
    return false;
}

bool TopLevelPlacementAvailable() {
    return !QGuiApplication::platformName().startsWith("wayland"_L1);
}

bool WindowAnimationsAvailable() {
    return QGuiApplication::platformName() == "xcb"_L1;
}

} // namespace plat

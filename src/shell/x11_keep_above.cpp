#include "shell/x11_keep_above.h"

#include <QtGui/qtguiglobal.h>

#if defined(TARVO_HAVE_XCB) && QT_CONFIG(xcb)

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace tarvo {
namespace {

constexpr char kWanted[] = "tarvoKeepAbove";
constexpr char kWatched[] = "tarvoKeepAboveWatched";

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

struct Atoms {
    xcb_atom_t state = XCB_ATOM_NONE;
    xcb_atom_t above = XCB_ATOM_NONE;
};

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A mapped window asks the window manager, which owns its state.
void requestState(xcb_connection_t* connection, xcb_window_t window, const Atoms& atoms, bool above)
{
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
    if (!tree)
        return;
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atoms.state;
    event.data.data32[0] = above ? 1 : 0; // _NET_WM_STATE_ADD or _REMOVE
    event.data.data32[1] = atoms.above;
    event.data.data32[3] = 1; // the request comes from an application
    xcb_send_event(connection, 0, tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
}

// A withdrawn window carries its state in the property, which the window manager reads when the
// window is mapped; Qt merges its own states into it before mapping.
void writeState(xcb_connection_t* connection, xcb_window_t window, const Atoms& atoms, bool above)
{
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, atoms.state, XCB_ATOM_ATOM, 0, 1024), nullptr),
        &std::free);
    std::vector<xcb_atom_t> states;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i) {
            if (values[i] != atoms.above)
                states.push_back(values[i]);
        }
    }
    if (above)
        states.push_back(atoms.above);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.state, XCB_ATOM_ATOM, 32,
        static_cast<std::uint32_t>(states.size()), states.data());
}

enum class Route { Request, Property };

void apply(QWindow* window, bool above, Route route)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const Atoms atoms { internAtom(connection, "_NET_WM_STATE"), internAtom(connection, "_NET_WM_STATE_ABOVE") };
    if (atoms.state == XCB_ATOM_NONE || atoms.above == XCB_ATOM_NONE)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (route == Route::Request)
        requestState(connection, id, atoms, above);
    else
        writeState(connection, id, atoms, above);
    xcb_flush(connection);
}

} // namespace

bool setX11KeepAbove(QWidget* widget, bool above)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    QWidget* top = widget->window();
    top->winId(); // the native window must exist to carry the state
    QWindow* window = top->windowHandle();
    if (!window)
        return true;
    window->setProperty(kWanted, above);
    // Window managers drop the state of a withdrawn window, so a window coming back from the tray
    // carries it again when it is mapped, and asks once more when the window manager has it.
    if (!window->property(kWatched).toBool()) {
        window->setProperty(kWatched, true);
        QObject::connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible || !window->property(kWanted).toBool())
                return;
            apply(window, true, Route::Property);
            QMetaObject::invokeMethod(
                window,
                [window] {
                    if (window->isVisible())
                        apply(window, window->property(kWanted).toBool(), Route::Request);
                },
                Qt::QueuedConnection);
        });
    }
    apply(window, above, window->isVisible() ? Route::Request : Route::Property);
    return true;
}

} // namespace tarvo

#else

namespace tarvo {

bool setX11KeepAbove(QWidget*, bool)
{
    return false;
}

} // namespace tarvo

#endif

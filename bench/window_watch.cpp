// Reports, with CLOCK_MONOTONIC time stamps, when top-level windows are mapped and retitled, so the
// benchmark can time a program's start-up and its countdown without touching the program itself.
// One line per event on standard output:
//   MAP <ns> <pid> <width> <height> <window>
//   TITLE <ns> <pid> <window> <title>
// <pid> is the window's _NET_WM_PID, 0 where it has none.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Atom pidAtom;
Atom netNameAtom;
Atom utf8Atom;

long long nowNs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Windows vanish while we look at them; that is no reason to stop.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

unsigned long windowPid(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    unsigned long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data)
            == Success
        && data != nullptr) {
        if (format == 32 && count == 1)
            pid = *reinterpret_cast<unsigned long*>(data);
        XFree(data);
    }
    return pid;
}

std::string windowTitle(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(
            display, window, netNameAtom, 0, 1024, False, utf8Atom, &type, &format, &count, &after, &data)
            == Success
        && data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

void printTitle(Display* display, Window window, long long ns)
{
    std::string title = windowTitle(display, window);
    for (char& c : title) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    std::printf("TITLE %lld %lu 0x%lx %s\n", ns, windowPid(display, window), window, title.c_str());
}

void printMap(Display* display, Window window, const XWindowAttributes& attributes, long long ns)
{
    std::printf(
        "MAP %lld %lu %d %d 0x%lx\n", ns, windowPid(display, window), attributes.width, attributes.height, window);
}

} // namespace

int main()
{
    std::signal(SIGPIPE, SIG_DFL);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("window_watch: cannot open the display\n", stderr);
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    netNameAtom = XInternAtom(display, "_NET_WM_NAME", False);
    utf8Atom = XInternAtom(display, "UTF8_STRING", False);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    std::printf("READY %lld\n", nowNs());
    std::fflush(stdout);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        const long long ns = nowNs();
        switch (event.type) {
        case CreateNotify:
            // A new top-level window: follow its own map and title changes. Its first title may
            // have been set before we listened.
            if (event.xcreatewindow.parent == root && !event.xcreatewindow.override_redirect) {
                const Window window = event.xcreatewindow.window;
                XSelectInput(display, window, StructureNotifyMask | PropertyChangeMask);
                printTitle(display, window, ns);
                // On a busy machine the window may have been mapped before we listened.
                XWindowAttributes attributes {};
                if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state != IsUnmapped)
                    printMap(display, window, attributes, nowNs());
            }
            break;
        case MapNotify:
            // Seen twice for a client (through the root and through the window itself): report the
            // window's own notice only, and windows the window manager does not manage.
            if (event.xmap.event == event.xmap.window || event.xmap.override_redirect) {
                XWindowAttributes attributes {};
                XGetWindowAttributes(display, event.xmap.window, &attributes);
                printMap(display, event.xmap.window, attributes, ns);
            }
            break;
        case PropertyNotify:
            if (event.xproperty.atom == netNameAtom || event.xproperty.atom == XA_WM_NAME)
                printTitle(display, event.xproperty.window, ns);
            break;
        default:
            break;
        }
        std::fflush(stdout);
    }
}

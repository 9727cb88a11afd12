// SPDX-License-Identifier: GPL-3.0-or-later
// Asks an X window to close the way a window manager does when the user
// clicks its close button: a WM_DELETE_WINDOW client message. The end-to-end
// test runs without a window manager, where Alt+F4 does nothing, and killing
// the client would skip the program's own shutdown.
//   xclose WINDOW_ID      (decimal, or hex with 0x)
// Exits 1 when the window does not take part in WM_DELETE_WINDOW.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: xclose WINDOW_ID\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("xclose: cannot open the display\n", stderr);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);

    // A window manager only sends the message to windows that ask for it.
    Atom *offered = nullptr;
    int count = 0;
    bool supported = false;
    if (XGetWMProtocols(display, window, &offered, &count)) {
        for (int i = 0; i < count; ++i)
            supported = supported || offered[i] == deleteWindow;
        XFree(offered);
    }
    if (!supported) {
        std::fprintf(stderr, "xclose: window %s does not accept WM_DELETE_WINDOW\n", argv[1]);
        XCloseDisplay(display);
        return 1;
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}

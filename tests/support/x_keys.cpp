#include "tests/support/x_keys.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

// Xlib's internal header gives the request macros of the resource extension's protocol; it
// defines min and max as macros, so it comes after the C++ headers.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XResproto.h>
#undef min
#undef max

namespace testsupport {

namespace {

// Parent process id of pid, from /proc; -1 when it cannot be read.
long parentOf(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // The command name in parentheses may hold spaces: the fields resume after the last ')'.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(line.substr(close + 1));
    char state = 0;
    long parent = -1;
    fields >> state >> parent;
    return parent;
}

// Process id of the client that created window, asked of the server's resource extension
// (the program sets no window property that names its process); -1 when it is not known.
long windowPid(Display* dpy, int resourceOpcode, Window window) {
    // The request macros name their display "dpy".
    Display* const display = dpy;
    xXResQueryClientIdsReq* request = nullptr;
    xXResQueryClientIdsReply reply = {};
    LockDisplay(display);
    GetReqExtra(XResQueryClientIds, sz_xXResClientIdSpec, request);
    request->reqType = CARD8(resourceOpcode);
    request->XResReqType = X_XResQueryClientIds;
    request->numSpecs = 1;
    CARD32* clientId = reinterpret_cast<CARD32*>(request + 1);
    clientId[0] = CARD32(window);
    clientId[1] = X_XResLocalClientPIDMask;
    long pid = -1;
    if (_XReply(display, reinterpret_cast<xReply*>(&reply), 0, xFalse)) {
        std::vector<CARD32> words(reply.length);
        if (!words.empty())
            _XRead(display, reinterpret_cast<char*>(words.data()), reply.length * 4);
        // One value: the client id (client, mask), its length in bytes, then the pid.
        if (reply.numIds >= 1 && words.size() >= 4 && words[2] == 4) pid = long(words[3]);
    }
    UnlockDisplay(display);
    SyncHandle();
    return pid;
}

// Depth-first search for a window created by a child of the process self.
Window findChildWindow(Display* display, int resourceOpcode, Window window, long self) {
    if (parentOf(windowPid(display, resourceOpcode, window)) == self) return window;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i)
        found = findChildWindow(display, resourceOpcode, children[i], self);
    if (children != nullptr) XFree(children);
    return found;
}

bool sendKey(Display* display, Window window, char character) {
    const KeySym symbol = KeySym(static_cast<unsigned char>(character));
    const KeyCode code = XKeysymToKeycode(display, symbol);
    if (code == 0) return false;
    const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != symbol;
    XKeyEvent event = {};
    event.display = display;
    event.window = window;
    event.root = DefaultRootWindow(display);
    event.time = CurrentTime;
    event.x = event.y = event.x_root = event.y_root = 1;
    event.same_screen = True;
    event.keycode = code;
    event.state = shifted ? ShiftMask : 0;
    event.type = KeyPress;
    XSendEvent(display, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&event));
    event.type = KeyRelease;
    XSendEvent(display, window, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
    return true;
}

// Calls act with the display and the top-level window of a child of this process; false when
// there is no display or no such window, else what act returns.
// `keepOpen` keeps one connection for every such call, for callers that ask many times a
// second: a connection each time would crowd out the program's own.
template <typename Action>
bool withChildWindow(Action act, bool keepOpen = false) {
    static Display* kept = nullptr;
    Display* display = keepOpen && kept != nullptr ? kept : XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    int opcode = 0, firstEvent = 0, firstError = 0;
    Window window = 0;
    if (XQueryExtension(display, "X-Resource", &opcode, &firstEvent, &firstError))
        window = findChildWindow(display, opcode, DefaultRootWindow(display), long(getpid()));
    const bool done = window != 0 && act(display, window);
    XSync(display, False);
    if (keepOpen) {
        kept = display;
    } else {
        XCloseDisplay(display);
    }
    return done;
}

// A window not yet mapped answers XGetImage with an error, which must not end the process.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

bool typeIntoChildWindow(const std::string& keys) {
    return withChildWindow([&](Display* display, Window window) {
        for (char key : keys) {
            if (!sendKey(display, window, key)) return false;
        }
        return true;
    });
}

bool resizeChildWindow(int width, int height) {
    return withChildWindow([&](Display* display, Window window) {
        return XResizeWindow(display, window, unsigned(width), unsigned(height)) != 0;
    });
}

bool closeChildWindow() {
    return withChildWindow([&](Display* display, Window window) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        return XSendEvent(display, window, False, NoEventMask, &event) != 0;
    });
}

bool readChildWindowPixel(int x, int y, unsigned char rgb[3]) {
    return withChildWindow(
        [&](Display* display, Window window) {
            XErrorHandler previous = XSetErrorHandler(ignoreXError);
            XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
            XSync(display, False);
            XSetErrorHandler(previous);
            if (image == nullptr) return false;
            const unsigned long pixel = XGetPixel(image, 0, 0);
            rgb[0] = static_cast<unsigned char>((pixel & image->red_mask) >> 16);
            rgb[1] = static_cast<unsigned char>((pixel & image->green_mask) >> 8);
            rgb[2] = static_cast<unsigned char>(pixel & image->blue_mask);
            XDestroyImage(image);
            return true;
        },
        true);
}

}  // namespace testsupport

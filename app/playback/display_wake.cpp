// The event goes through Xlib on a connection no other code uses, under a lock, so receivers
// and decoders on several threads may call at once without XInitThreads.
#include "app/playback/display_wake.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <atomic>
#include <mutex>

namespace {

Display* wakeConnection = nullptr;
Window shownWindow = 0;
std::mutex sending;
std::atomic<bool> pending{false};

}  // namespace

bool openDisplayWake() {
    if (wakeConnection != nullptr) return true;
    Display* const shown = glXGetCurrentDisplay();
    // freeglut draws straight into its X window, so the current drawable is that window.
    const GLXDrawable window = glXGetCurrentDrawable();
    if (shown == nullptr || window == 0) return false;
    shownWindow = window;
    wakeConnection = XOpenDisplay(DisplayString(shown));
    return wakeConnection != nullptr;
}

void wakeDisplay() {
    if (wakeConnection == nullptr || pending.exchange(true, std::memory_order_acq_rel)) return;
    std::lock_guard lock(sending);
    XEvent event{};
    event.xexpose.type = Expose;
    event.xexpose.window = shownWindow;
    event.xexpose.count = 0;  // the last of its series: freeglut redraws on this one
    XSendEvent(wakeConnection, shownWindow, False, ExposureMask, &event);
    XFlush(wakeConnection);
}

void displayWoken() {
    pending.store(false, std::memory_order_release);
}

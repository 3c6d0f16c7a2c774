/* Only for scripts/bench-win32-startup.sh: prints "<ns> <name>" (real-time
   clock, nanoseconds) the moment a top-level window is mapped on the X
   display, so that a program's start to its window shown can be timed from
   outside, alike for every program. Wine's unmanaged windows are children
   of the root window. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <time.h>

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify) continue;
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        char* name = NULL;
        if (XFetchName(display, event.xmap.window, &name) && name) {
            printf("%lld %s\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec, name);
            fflush(stdout);
            XFree(name);
        }
    }
}

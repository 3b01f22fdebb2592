/* A clipboard owner for timing pastes in the end-to-end scripts. It takes
 * CLIPBOARD and never answers a request; with --answer TEXT it answers
 * UTF8_STRING at once with TEXT instead, so that the two can be compared.
 *
 * Prints "ready" once it owns CLIPBOARD, then "request MS" for each request,
 * MS on the monotonic clock; ends when another program takes CLIPBOARD.
 */
#include "serve_text.h"

#include <X11/Xlib.h>

#include <stdio.h>
#include <string.h>
#include <time.h>

int main(int argc, char **argv) {
    const char *answer = argc == 3 && strcmp(argv[1], "--answer") == 0 ? argv[2] : NULL;
    if (argc != 1 && answer == NULL) {
        fprintf(stderr, "usage: silent_owner [--answer TEXT]\n");
        return 2;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);
    Display *dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "silent_owner: no display\n");
        return 1;
    }
    Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    XSetSelectionOwner(dpy, clipboard, win, CurrentTime);
    if (XGetSelectionOwner(dpy, clipboard) != win) {
        fprintf(stderr, "silent_owner: could not take CLIPBOARD\n");
        return 1;
    }
    printf("ready\n");
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == SelectionClear) {
            return 0;
        }
        if (event.type != SelectionRequest) {
            continue;
        }
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        printf("request %ld\n", (long)now.tv_sec * 1000 + now.tv_nsec / 1000000);
        const XSelectionRequestEvent *request = &event.xselectionrequest;
        if (answer == NULL) {
            continue;
        }
        serveText(dpy, request, answer, strlen(answer));
    }
}

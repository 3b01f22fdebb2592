/* Counts the bells rung on the X server, whoever rings them, as XKB reports
 * them to any client that asks: the program's bell makes no picture, so the
 * end-to-end scripts hear it here.
 *
 * Prints "ready" once it listens. Then answers each line "count" on standard
 * input with the number of bells heard so far; a round trip first makes sure
 * that every bell the server had rung when the question came is counted.
 * Ends at the end of its input.
 */
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char **argv) {
    (void)argv;
    if (argc != 1) {
        fprintf(stderr, "usage: bell_listener, then lines \"count\" on standard input\n");
        return 2;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);
    Display *dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "bell_listener: no display\n");
        return 1;
    }
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(dpy, &opcode, &eventBase, &errorBase, &major, &minor)) {
        fprintf(stderr, "bell_listener: the server has no XKB\n");
        return 1;
    }
    if (!XkbSelectEvents(dpy, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask)) {
        fprintf(stderr, "bell_listener: cannot ask for bell notifications\n");
        return 1;
    }
    XSync(dpy, False);
    printf("ready\n");
    unsigned long bells = 0;
    char line[64];
    while (fgets(line, sizeof line, stdin) != NULL) {
        if (strcmp(line, "count\n") != 0) {
            printf("error\n");
            continue;
        }
        XSync(dpy, False);
        while (XPending(dpy) > 0) {
            XkbEvent event;
            XNextEvent(dpy, &event.core);
            if (event.type == eventBase + XkbEventCode && event.any.xkb_type == XkbBellNotify) {
                bells++;
            }
        }
        printf("%lu\n", bells);
    }
    return 0;
}

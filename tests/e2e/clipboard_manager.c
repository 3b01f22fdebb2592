/* A clipboard manager as far as the end-to-end scripts need one. It owns
 * CLIPBOARD_MANAGER; asked for SAVE_TARGETS it asks the clipboard's owner
 * for TARGETS and then for UTF8_STRING, takes CLIPBOARD itself and answers
 * the request; from then on it serves the saved text as UTF8_STRING and
 * STRING, as a desktop's manager does once the copying program has gone.
 *
 * Prints "ready" once it owns CLIPBOARD_MANAGER, then after each request
 * "saved TEXT" or "save failed: WHY". Runs until it is killed.
 */
#include "serve_text.h"

#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/time.h>

enum { clipboardAtom, managerAtom, saveTargetsAtom, targetsAtom, utf8Atom, nullAtom, dataAtom };
static const char *atomNames[] = {"CLIPBOARD",   "CLIPBOARD_MANAGER", "SAVE_TARGETS",
                                  "TARGETS",     "UTF8_STRING",       "NULL",
                                  "MANAGER_DATA"};
static Atom atoms[7];

static Display *dpy;
static Window win;
static char *saved; /* the text served, once saved */
static unsigned long savedSize;

/* answers a request for the saved clipboard */
static void serve(const XSelectionRequestEvent *request) {
    serveText(dpy, request, request->selection == atoms[clipboardAtom] ? saved : NULL, savedSize);
}

static void handleOther(const XEvent *event) {
    if (event->type == SelectionRequest) {
        serve(&event->xselectionrequest);
    } else if (event->type == SelectionClear &&
               event->xselectionclear.selection == atoms[clipboardAtom]) {
        free(saved); /* another program copied */
        saved = NULL;
    }
}

/* converts CLIPBOARD to `target` on our window and reads the answer: 1 with
 * the data (malloc'ed, `count` items of `format`), 0 when the owner refused
 * or kept silent for 2 s; other events are handled meanwhile */
static int fetch(Atom target, unsigned char **data, unsigned long *count, int *format) {
    struct timeval start, now;
    XConvertSelection(dpy, atoms[clipboardAtom], target, atoms[dataAtom], win, CurrentTime);
    XFlush(dpy);
    gettimeofday(&start, NULL);
    for (;;) {
        while (XPending(dpy) > 0) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type != SelectionNotify ||
                event.xselection.selection != atoms[clipboardAtom]) {
                handleOther(&event);
                continue;
            }
            if (event.xselection.property == None) {
                return 0;
            }
            Atom type;
            unsigned long after;
            unsigned char *raw = NULL;
            if (XGetWindowProperty(dpy, win, atoms[dataAtom], 0, 1L << 20, True, AnyPropertyType,
                                   &type, format, count, &after, &raw) != Success) {
                return 0;
            }
            size_t unit = *format == 32 ? sizeof(long) : (size_t)(*format / 8);
            size_t bytes = *count * unit;
            *data = malloc(bytes + 1);
            memcpy(*data, raw, bytes);
            (*data)[bytes] = 0;
            XFree(raw);
            return 1;
        }
        gettimeofday(&now, NULL);
        long left =
            2000 - ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_usec - start.tv_usec) / 1000);
        if (left <= 0) {
            return 0;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(ConnectionNumber(dpy), &readable);
        struct timeval wait = {left / 1000, left % 1000 * 1000};
        select(ConnectionNumber(dpy) + 1, &readable, NULL, NULL, &wait);
    }
}

/* fetches the text from the owner and takes CLIPBOARD; NULL on success,
 * else why not */
static const char *save(void) {
    unsigned char *data = NULL;
    unsigned long count = 0;
    int format = 0;
    if (!fetch(atoms[targetsAtom], &data, &count, &format) || format != 32) {
        free(data);
        return "no TARGETS";
    }
    int offersUtf8 = 0;
    for (unsigned long i = 0; i < count; i++) {
        offersUtf8 |= ((Atom *)data)[i] == atoms[utf8Atom];
    }
    free(data);
    if (!offersUtf8) {
        return "UTF8_STRING not among the TARGETS";
    }
    if (!fetch(atoms[utf8Atom], &data, &count, &format) || format != 8) {
        free(data);
        return "no UTF8_STRING";
    }
    free(saved);
    saved = (char *)data;
    savedSize = count;
    XSetSelectionOwner(dpy, atoms[clipboardAtom], win, CurrentTime);
    if (XGetSelectionOwner(dpy, atoms[clipboardAtom]) != win) {
        return "could not take CLIPBOARD";
    }
    return NULL;
}

int main(void) {
    setvbuf(stdout, NULL, _IOLBF, 0);
    dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "clipboard_manager: no display\n");
        return 1;
    }
    win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    XInternAtoms(dpy, (char **)atomNames, 7, False, atoms);
    XSetSelectionOwner(dpy, atoms[managerAtom], win, CurrentTime);
    if (XGetSelectionOwner(dpy, atoms[managerAtom]) != win) {
        fprintf(stderr, "clipboard_manager: CLIPBOARD_MANAGER is taken\n");
        return 1;
    }
    printf("ready\n");
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        const XSelectionRequestEvent *request = &event.xselectionrequest;
        if (event.type != SelectionRequest || request->selection != atoms[managerAtom]) {
            handleOther(&event);
            continue;
        }
        if (request->target != atoms[saveTargetsAtom]) {
            replyToRequest(dpy, request, None);
            continue;
        }
        const char *failure = save();
        Atom property = None;
        if (failure == NULL) {
            /* a side-effect target answers with an empty NULL property */
            property = request->property != None ? request->property : request->target;
            if (request->property != None) {
                XChangeProperty(dpy, request->requestor, property, atoms[nullAtom], 32,
                                PropModeReplace, NULL, 0);
            }
            printf("saved %s\n", saved);
        } else {
            printf("save failed: %s\n", failure);
        }
        replyToRequest(dpy, request, property);
    }
}

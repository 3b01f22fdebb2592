/* What a clipboard owner that offers one text answers, for every end-to-end
 * tool that owns the clipboard: the text as UTF8_STRING or
 * STRING, TARGETS naming those two, and a refusal for anything else or when
 * there is no text.
 */
#ifndef SERVE_TEXT_H
#define SERVE_TEXT_H

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string.h>

/* tells the requestor its answer is in `property`; None refuses */
static inline void replyToRequest(Display *dpy, const XSelectionRequestEvent *request,
                                  Atom property) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = property;
    XSendEvent(dpy, request->requestor, False, NoEventMask, &reply);
    XFlush(dpy);
}

/* answers `request` with `size` bytes of `text`, or refuses it when `text`
 * is NULL; requestors of the oldest kind name no property and mean the
 * target */
static inline void serveText(Display *dpy, const XSelectionRequestEvent *request, const char *text,
                             unsigned long size) {
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom targets = XInternAtom(dpy, "TARGETS", False);
    Atom property = request->property != None ? request->property : request->target;
    if (text != NULL && (request->target == utf8 || request->target == XA_STRING)) {
        XChangeProperty(dpy, request->requestor, property, request->target, 8, PropModeReplace,
                        (const unsigned char *)text, (int)size);
    } else if (text != NULL && request->target == targets) {
        Atom offered[] = {targets, utf8, XA_STRING};
        XChangeProperty(dpy, request->requestor, property, XA_ATOM, 32, PropModeReplace,
                        (const unsigned char *)offered, 3);
    } else {
        property = None;
    }
    replyToRequest(dpy, request, property);
}

#endif

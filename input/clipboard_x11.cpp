// The clipboard through Xlib, on a connection of the program's own: the
// library's X11 connection belongs to its event thread, and its own
// clipboard calls answer a paste one paste late.
//
// An unmapped window owns the selection and receives the answers. The
// connection opens at start-up, where the desktop's scale is read from it,
// the window on the first copy or paste; a run that never copies costs one
// test of a flag a pass.
#include "input/clipboard.h"
#include "input/desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <poll.h>

#include <chrono>
#include <cstring>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;

// A paste holds the window no longer than this; the exit waits no longer for
// a clipboard manager.
constexpr auto pasteWait = std::chrono::milliseconds(300);
constexpr auto handOverWait = std::chrono::milliseconds(1000);
constexpr unsigned long pasteLimit = 4096; // bytes; a number never needs more

Display *connection = nullptr; // opened at start-up, or on the first copy or paste
bool connectionFailed = false; // no display: copy and paste do nothing
Window selectionWindow = None;
std::string copiedText; // what other programs get while `holding`
bool holding = false;   // the program owns CLIPBOARD

// Atoms by name, interned once; the order of the names is the order here.
enum AtomIndex {
    clipboard,
    targets,
    utf8String,
    textAtom,
    incr,
    pasteProperty,
    manager,
    saveTargets
};
const char *atomNames[] = {"CLIPBOARD", "TARGETS",           "UTF8_STRING",       "TEXT",
                           "INCR",      "RAVURIRADOZ_PASTE", "CLIPBOARD_MANAGER", "SAVE_TARGETS"};
Atom atoms[std::size(atomNames)];

using ErrorHandler = int (*)(Display *, XErrorEvent *);
ErrorHandler libraryErrorHandler = nullptr;

// A program that asked for the clipboard may be gone before it is answered.
// Errors on this connection are therefore dropped; the library's connection
// keeps the handler it had.
int dropOwnErrors(Display *display, XErrorEvent *error) {
    if (display == connection) {
        return 0;
    }
    return libraryErrorHandler != nullptr ? libraryErrorHandler(display, error) : 0;
}

bool connect() {
    if (connection != nullptr || connectionFailed) {
        return connection != nullptr;
    }
    connection = XOpenDisplay(nullptr);
    if (connection == nullptr) {
        connectionFailed = true;
        return false;
    }
    libraryErrorHandler = XSetErrorHandler(dropOwnErrors);
    return true;
}

// The selection's window and atoms wait for the first copy or paste, so
// that a start-up that goes no further leaves nothing on the server.
bool connectForSelection() {
    if (!connect()) {
        return false;
    }
    if (selectionWindow == None) {
        selectionWindow =
            XCreateSimpleWindow(connection, DefaultRootWindow(connection), 0, 0, 1, 1, 0, 0, 0);
        XInternAtoms(connection, const_cast<char **>(atomNames), std::size(atomNames), False,
                     atoms);
    }
    return true;
}

// Puts the answer to `request` on the requestor's window; the property stays
// None for what is not offered.
Atom writeAnswer(const XSelectionRequestEvent &request) {
    // Requestors of the oldest kind name no property and mean the target.
    const Atom property = request.property != None ? request.property : request.target;
    if (!holding || request.selection != atoms[clipboard]) {
        return None;
    }
    if (request.target == atoms[targets]) {
        const Atom offered[] = {atoms[targets], atoms[utf8String], XA_STRING, atoms[textAtom]};
        XChangeProperty(connection, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(offered), 4);
        return property;
    }
    if (request.target == atoms[utf8String] || request.target == atoms[textAtom] ||
        request.target == XA_STRING) {
        // Digits only: the same bytes in Latin-1 and UTF-8.
        const Atom type = request.target == XA_STRING ? XA_STRING : atoms[utf8String];
        XChangeProperty(connection, request.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(copiedText.data()),
                        static_cast<int>(copiedText.size()));
        return property;
    }
    return None;
}

void answer(const XSelectionRequestEvent &request) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = writeAnswer(request);
    XSendEvent(connection, request.requestor, False, NoEventMask, &reply);
    XFlush(connection);
}

void handle(const XEvent &event) {
    if (event.type == SelectionRequest) {
        answer(event.xselectionrequest);
    } else if (event.type == SelectionClear &&
               event.xselectionclear.selection == atoms[clipboard]) {
        holding = false; // another program copied
        std::string().swap(copiedText);
    }
}

void handlePending() {
    while (XPending(connection) > 0) {
        XEvent event;
        XNextEvent(connection, &event);
        handle(event);
    }
}

// Serves requests until the answer to the program's own conversion of
// `selection` arrives; false when `deadline` passes first.
bool awaitAnswer(Atom selection, Clock::time_point deadline, XSelectionEvent &answerEvent) {
    for (;;) {
        while (XPending(connection) > 0) {
            XEvent event;
            XNextEvent(connection, &event);
            if (event.type == SelectionNotify && event.xselection.selection == selection) {
                answerEvent = event.xselection;
                return true;
            }
            handle(event);
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd socket{ConnectionNumber(connection), POLLIN, 0};
        poll(&socket, 1, static_cast<int>(left));
    }
}

// Reads the pasted text from the program's window. Its size is asked first,
// so that a large text is refused without being transferred; an incremental
// transfer is refused without starting it.
bool takePastedText(std::string &text) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long size = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(connection, selectionWindow, atoms[pasteProperty], 0, 0, False,
                           AnyPropertyType, &type, &format, &count, &size, &data) != Success) {
        return false;
    }
    XFree(data);
    if (type == atoms[incr]) {
        return false; // deleting the property would ask the owner to go on
    }
    if (format != 8 || size > pasteLimit || (type != atoms[utf8String] && type != XA_STRING)) {
        XDeleteProperty(connection, selectionWindow, atoms[pasteProperty]);
        return false;
    }
    if (XGetWindowProperty(connection, selectionWindow, atoms[pasteProperty], 0,
                           (pasteLimit + 3) / 4, True, AnyPropertyType, &type, &format, &count,
                           &size, &data) != Success) {
        return false;
    }
    text.assign(reinterpret_cast<const char *>(data), count);
    XFree(data);
    return true;
}

} // namespace

void copyToClipboard(const std::string &text) {
    if (!connectForSelection()) {
        return;
    }
    copiedText = text;
    XSetSelectionOwner(connection, atoms[clipboard], selectionWindow, CurrentTime);
    holding = XGetSelectionOwner(connection, atoms[clipboard]) == selectionWindow;
}

bool pasteFromClipboard(std::string &text) {
    const auto deadline = Clock::now() + pasteWait; // the round trips before the wait count too
    if (!connectForSelection()) {
        return false;
    }
    const Window owner = XGetSelectionOwner(connection, atoms[clipboard]);
    if (owner == None) {
        return false;
    }
    if (owner == selectionWindow && holding) {
        text = copiedText; // asking itself would wait for an answer it cannot give
        return true;
    }
    handlePending(); // a late answer to an earlier paste must not pass for this one's
    XConvertSelection(connection, atoms[clipboard], atoms[utf8String], atoms[pasteProperty],
                      selectionWindow, CurrentTime);
    XFlush(connection);
    XSelectionEvent answerEvent{};
    return awaitAnswer(atoms[clipboard], deadline, answerEvent) && answerEvent.property != None &&
           takePastedText(text);
}

// Percent 0 is the volume the desktop set; the flush sends the request now,
// as no round trip follows it.
void ringBell() {
    if (!connect()) {
        return;
    }
    XBell(connection, 0);
    XFlush(connection);
}

// XPending alone tries to read the socket twice when nothing came; one
// look at the socket is the cheaper check for an idle pass.
void serveClipboard() {
    if (!holding) {
        return;
    }
    pollfd socket{ConnectionNumber(connection), POLLIN, 0};
    if (XQLength(connection) > 0 || poll(&socket, 1, 0) > 0) {
        handlePending();
    }
}

// The freedesktop convention: asked for SAVE_TARGETS, the manager fetches
// what the program offers and takes the clipboard over. With no property
// named, it saves every target offered.
void handOverClipboard() {
    if (!holding || XGetSelectionOwner(connection, atoms[manager]) == None) {
        return;
    }
    const auto deadline = Clock::now() + handOverWait;
    XConvertSelection(connection, atoms[manager], atoms[saveTargets], None, selectionWindow,
                      CurrentTime);
    XFlush(connection);
    XSelectionEvent answerEvent{};
    awaitAnswer(atoms[manager], deadline, answerEvent);
}

// Xlib fetched the resources when the connection opened; the database is
// made here only to look one up, and gone again before start-up goes on.
bool readDpiSetting(std::string &setting) {
    if (!connect()) {
        return false;
    }
    const char *resources = XResourceManagerString(connection);
    if (resources == nullptr) {
        return false; // a server no desktop has set anything on
    }
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char *type = nullptr;
    XrmValue value{};
    const bool found = XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) == True &&
                       value.addr != nullptr;
    if (found) {
        setting.assign(value.addr, strnlen(value.addr, value.size)); // the size counts a NUL
    }
    XrmDestroyDatabase(database);
    return found;
}

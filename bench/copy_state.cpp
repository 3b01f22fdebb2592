#include "copy_state.h"

#include "input/clipboard.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

Display *rival = nullptr; // takes the clipboard away from the program
Window rivalWindow = None;
Atom clipboardAtom = None;

void connectRival() {
    if (rival != nullptr) {
        return;
    }
    rival = XOpenDisplay(nullptr);
    if (rival == nullptr) {
        std::fprintf(stderr, "holdCopy: cannot open the display\n");
        std::exit(1);
    }
    rivalWindow = XCreateSimpleWindow(rival, DefaultRootWindow(rival), 0, 0, 1, 1, 0, 0, 0);
    clipboardAtom = XInternAtom(rival, "CLIPBOARD", False);
}

} // namespace

void holdCopy(bool held) {
    connectRival();
    if (held) {
        copyToClipboard("4294967295");
    } else {
        XSetSelectionOwner(rival, clipboardAtom, rivalWindow, CurrentTime);
    }
    const Window owner = XGetSelectionOwner(rival, clipboardAtom);
    XSync(rival, True); // the rival's own SelectionClear events are of no interest
    const bool programOwns = owner != None && owner != rivalWindow;
    if (programOwns != held) {
        std::fprintf(stderr, "holdCopy: the program %s the clipboard\n",
                     programOwns ? "still owns" : "does not own");
        std::exit(1);
    }
}

/* Watches the converter's window from outside, as a person sees it, by taking
 * screenshots of the screen as fast as the X server answers. The window is
 * taken at scale 1: no Xft.dpi on the server.
 *
 *   screen_probe launch PROGRAM [ARG...]
 *       starts PROGRAM, prints "painted_ms=P pid=PID" once its first frame is
 *       on screen, then waits for PROGRAM to end and exits with its status.
 *   screen_probe key KEY CELL
 *       presses KEY with xdotool and prints "shown_ms=S poll_us=U" once the
 *       decimal field shows a digit in character cell CELL (0 for the first),
 *       timed from the moment the server delivers the key press; U is the
 *       mean time between two screenshots.
 *
 * Exit status 1 when the screen does not show it within a few seconds.
 */
#include "geometry.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace {

using namespace geometry;

constexpr long long giveUpNs = 10000000000LL;

constexpr char windowTitle[] = "Ravuriradoz syst. liczbowych DHB";

// A palette colour as the screen's pixels hold it.
constexpr unsigned long pixelOf(std::string_view name) {
    for (const Colour &colour : palette) {
        if (name == colour.name) {
            return (static_cast<unsigned long>(colour.red) << 16U) |
                   (static_cast<unsigned long>(colour.green) << 8U) | colour.blue;
        }
    }
    return 0;
}

/* Points of one row that only a finished frame paints in these colours: the
 * background, the active decimal box and the panel face. One row is grabbed,
 * so a poll costs the server little. */
constexpr int frameRow = rowYOf[1] + boxHeight / 2;
constexpr struct {
    int x;
    unsigned long rgb;
} framePoints[] = {{panelFace.x1 / 4, pixelOf("background")},
                   {middleOf(rowHit(1)).x, pixelOf("fieldFill")},
                   {panelFace.x2 - 6, pixelOf("teal")}};

/* A digit of the decimal field, 11 pixels wide at size 20, has ink in these
 * rows; the text cursor sits lower, so it never counts as a digit. */
constexpr int digitLeft = textX;
constexpr int digitWidth = 11;
constexpr int digitTop = textY(1) + 5;
constexpr int digitRows = 11;
constexpr unsigned long fieldFill = pixelOf("fieldFill");

long long nowNs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

/* a window may go away between two requests about it: not the probe's error */
int ignoreErrors(Display *dpy, XErrorEvent *error) {
    (void)dpy;
    (void)error;
    return 0;
}

int framePainted(XImage *image) {
    for (const auto &point : framePoints) {
        if ((XGetPixel(image, point.x, 0) & 0xffffff) != point.rgb) {
            return 0;
        }
    }
    return 1;
}

/* dark enough to be the ink of a glyph, not the field's fill */
int hasInk(XImage *image) {
    for (int y = 0; y < image->height; y++) {
        for (int x = 0; x < image->width; x++) {
            unsigned long pixel = XGetPixel(image, x, y) & 0xffffff;
            unsigned long green = (pixel >> 8) & 0xff;
            if (pixel != fieldFill && green < 150) {
                return 1;
            }
        }
    }
    return 0;
}

pid_t spawn(char **argv) {
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        perror("screen_probe: exec");
        _exit(127);
    }
    return pid;
}

int waitForExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status)) {
        return 1;
    }
    return WEXITSTATUS(status);
}

int launch(Display *dpy, char **argv) {
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    long long start = nowNs();
    pid_t pid = spawn(argv);
    int mapped = 0, x = 0, y = 0;
    while (nowNs() - start < giveUpNs) {
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
            XWindowAttributes attributes;
            if (event.type == MapNotify && !mapped &&
                XGetWindowAttributes(dpy, event.xmap.window, &attributes) &&
                attributes.width == layoutWidth && attributes.height == layoutHeight) {
                mapped = 1;
                x = attributes.x;
                y = attributes.y;
            }
        }
        if (!mapped) {
            XSync(dpy, False); /* a round trip, so the map is seen as soon as it happens */
            continue;
        }
        XImage *image = XGetImage(dpy, root, x, y + frameRow, layoutWidth, 1, AllPlanes, ZPixmap);
        if (image != NULL) {
            int painted = framePainted(image);
            XDestroyImage(image);
            if (painted) {
                printf("painted_ms=%.2f pid=%d\n", (double)(nowNs() - start) / 1e6, (int)pid);
                fflush(stdout);
                return waitForExit(pid);
            }
        }
    }
    fprintf(stderr, "screen_probe: no frame within %lld s\n", giveUpNs / 1000000000LL);
    kill(pid, SIGTERM);
    waitForExit(pid);
    return 1;
}

Window findWindow(Display *dpy, int *x, int *y) {
    Window root = DefaultRootWindow(dpy), parent, *children = NULL, found = None;
    unsigned int count = 0;
    XQueryTree(dpy, root, &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && found == None; i++) {
        /* the title may be stored as UTF-8, which XFetchName does not return */
        XTextProperty name;
        if (XGetWMName(dpy, children[i], &name) && name.value != NULL) {
            if (strcmp((const char *)name.value, windowTitle) == 0) {
                found = children[i];
            }
            XFree(name.value);
        }
    }
    XFree(children);
    if (found != None) {
        XWindowAttributes attributes;
        XGetWindowAttributes(dpy, found, &attributes);
        *x = attributes.x;
        *y = attributes.y;
    }
    return found;
}

int cellShowsDigit(Display *dpy, int x, int y, int cell) {
    XImage *image = XGetImage(dpy, DefaultRootWindow(dpy), x + digitLeft + digitWidth * cell,
                              y + digitTop, digitWidth, digitRows, AllPlanes, ZPixmap);
    int ink = image != NULL && hasInk(image);
    if (image != NULL) {
        XDestroyImage(image);
    }
    return ink;
}

/* Presses the key with xdotool and polls the screen until the cell shows a
 * digit. */
int pressKey(Display *dpy, const char *key, int cell) {
    int x = 0, y = 0;
    Window window = findWindow(dpy, &x, &y);
    if (window == None) {
        fprintf(stderr, "screen_probe: no converter window\n");
        return 1;
    }
    if (cellShowsDigit(dpy, x, y, cell)) {
        fprintf(stderr, "screen_probe: cell %d already shows a digit\n", cell);
        return 1;
    }
    /* the server copies the key press to every client that asks */
    XSelectInput(dpy, window, KeyPressMask);
    XSync(dpy, False);

    std::string command = "xdotool", keyWord = "key", keyName = key;
    char *xdotool[] = {command.data(), keyWord.data(), keyName.data(), nullptr};
    long long start = nowNs();
    pid_t pid = spawn(xdotool);
    long long pressed = 0;
    long polls = 0;
    int result = 1;
    while (nowNs() - start < giveUpNs) {
        int shown = cellShowsDigit(dpy, x, y, cell);
        polls++;
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == KeyPress && pressed == 0) {
                pressed = nowNs();
            }
        }
        if (shown && pressed != 0) {
            long long now = nowNs();
            printf("shown_ms=%.2f poll_us=%.0f\n", (double)(now - pressed) / 1e6,
                   (double)(now - start) / 1e3 / (double)polls);
            result = 0;
            break;
        }
    }
    if (result != 0) {
        fprintf(stderr, "screen_probe: nothing shown within %lld s\n", giveUpNs / 1000000000LL);
    }
    waitpid(pid, NULL, 0);
    return result;
}

} // namespace

int main(int argc, char **argv) {
    Display *dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "screen_probe: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    int status = 2;
    if (argc >= 3 && strcmp(argv[1], "launch") == 0) {
        status = launch(dpy, argv + 2);
    } else if (argc == 4 && strcmp(argv[1], "key") == 0) {
        status = pressKey(dpy, argv[2], atoi(argv[3]));
    } else {
        fprintf(stderr, "usage: screen_probe launch PROGRAM [ARG...] | key KEY CELL\n");
    }
    XCloseDisplay(dpy);
    return status;
}

/* Watches the converter's window from outside, as a person sees it, by taking
 * screenshots of the screen as fast as the X server answers.
 *
 *   screen_probe launch PROGRAM [ARG...]
 *       starts PROGRAM (the moment of launch goes to it in BENCH_LAUNCH_NS),
 *       prints "mapped_ms=M painted_ms=P cpu_ms=C waiting_ms=W poll_us=U
 *       pid=PID width=X" once its first frame is on screen, then waits for
 *       PROGRAM to end and exits with its status. C is the CPU time all of
 *       PROGRAM's threads had used by then, W the time they had spent ready
 *       to run but waiting for a core: on a busy machine W grows, C hardly
 *       moves. X is the window's width, which tells the desktop's scale it
 *       was opened at: the window's 496 x 190 pixels at any scale from 1.
 *   screen_probe key KEY CELL
 *       presses KEY with xdotool and prints "shown_ms=S poll_us=U" once the
 *       decimal field shows a digit in character cell CELL (0 for the first),
 *       timed from the moment the server delivers the key press.
 *   screen_probe paste TEXT
 *       takes the CLIPBOARD selection with TEXT, presses Ctrl+V with xdotool
 *       and prints "shown_ms=S poll_us=U asked_ms=A" once the decimal row
 *       differs from what it showed before, timed from the delivery of the V
 *       key press; A is when the program asked for the text. The probe
 *       answers between two screenshots, so no clipboard tool's start-up is
 *       in S.
 *
 * Exit status 1 when the screen does not show it within a few seconds.
 */
#include "serve_text.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#define WINDOW_WIDTH 496
#define WINDOW_HEIGHT 190
#define GIVE_UP_NS 10000000000LL

static const char windowTitle[] = "Ravuriradoz syst. liczbowych DHB";

/* Points of one row that only a finished frame paints in these colours: the
 * background, the active decimal box and the panel face. One row is grabbed,
 * so a poll costs the server little. In the layout's pixels: at a scale the
 * same spots are that many times further. */
#define FRAME_ROW 45
static const struct {
    int x;
    unsigned long rgb;
} framePoints[] = {{5, 0x0a6464}, {200, 0x64c8c8}, {470, 0x1e8282}};

/* A digit of the decimal field, 11 pixels wide at size 20, has ink in these
 * rows; the text cursor sits lower, so it never counts as a digit. */
#define DIGIT_LEFT 133
#define DIGIT_WIDTH 11
#define DIGIT_TOP 40
#define DIGIT_ROWS 11
#define DECIMAL_DIGITS 10
#define FIELD_FILL 0x64c8c8

static long long nowNs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

/* a window may go away between two requests about it: not the probe's error */
static int ignoreErrors(Display *dpy, XErrorEvent *error) {
    (void)dpy;
    (void)error;
    return 0;
}

/* a layout pixel, never negative, in the window's, rounded as the program
 * rounds it */
static int scaled(int coordinate, double scale) {
    return (int)(coordinate * scale + 0.5);
}

/* The scale of a window that is the converter's at some scale, 0 for any
 * other window. */
static double windowScale(const XWindowAttributes *attributes) {
    double scale = (double)attributes->width / WINDOW_WIDTH;
    if (scale < 1 || attributes->width != scaled(WINDOW_WIDTH, scale) ||
        attributes->height != scaled(WINDOW_HEIGHT, scale)) {
        return 0;
    }
    return scale;
}

static int framePainted(XImage *image, double scale) {
    for (size_t i = 0; i < sizeof framePoints / sizeof framePoints[0]; i++) {
        unsigned long pixel = XGetPixel(image, scaled(framePoints[i].x, scale), 0);
        if ((pixel & 0xffffff) != framePoints[i].rgb) {
            return 0;
        }
    }
    return 1;
}

/* dark enough to be the ink of a glyph, not the field's fill */
static int hasInk(XImage *image) {
    for (int y = 0; y < image->height; y++) {
        for (int x = 0; x < image->width; x++) {
            unsigned long pixel = XGetPixel(image, x, y) & 0xffffff;
            unsigned long green = (pixel >> 8) & 0xff;
            if (pixel != FIELD_FILL && green < 150) {
                return 1;
            }
        }
    }
    return 0;
}

static pid_t spawn(char **argv, long long launchNs) {
    pid_t pid = fork();
    if (pid == 0) {
        char launch[32];
        snprintf(launch, sizeof launch, "%lld", launchNs);
        setenv("BENCH_LAUNCH_NS", launch, 1);
        execvp(argv[0], argv);
        perror("screen_probe: exec");
        _exit(127);
    }
    return pid;
}

/* CPU time and run-queue wait of every thread of a process, from the
 * scheduler's own accounts, in nanoseconds */
static void threadTimes(pid_t pid, long long *running, long long *waiting) {
    char path[32];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    *running = *waiting = 0;
    DIR *tasks = opendir(path);
    if (tasks == NULL) {
        return;
    }
    struct dirent *task;
    while ((task = readdir(tasks)) != NULL) {
        if (task->d_name[0] == '.') {
            continue;
        }
        char file[384];
        snprintf(file, sizeof file, "%s/%s/schedstat", path, task->d_name);
        FILE *stat = fopen(file, "r");
        long long run = 0, wait = 0;
        if (stat != NULL) {
            if (fscanf(stat, "%lld %lld", &run, &wait) == 2) {
                *running += run;
                *waiting += wait;
            }
            fclose(stat);
        }
    }
    closedir(tasks);
}

static int waitForExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status)) {
        return 1;
    }
    return WEXITSTATUS(status);
}

static int launch(Display *dpy, char **argv) {
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    long long start = nowNs();
    pid_t pid = spawn(argv, start);
    long long mapped = 0;
    long polls = 0;
    int x = 0, y = 0, width = 0;
    double scale = 0;
    while (nowNs() - start < GIVE_UP_NS) {
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
            XWindowAttributes attributes;
            if (event.type == MapNotify && mapped == 0 &&
                XGetWindowAttributes(dpy, event.xmap.window, &attributes) &&
                (scale = windowScale(&attributes)) != 0) {
                mapped = nowNs();
                x = attributes.x;
                y = attributes.y;
                width = attributes.width;
            }
        }
        if (mapped == 0) {
            XSync(dpy, False); /* a round trip, so the map is seen as soon as it happens */
            continue;
        }
        XImage *image = XGetImage(dpy, root, x, y + scaled(FRAME_ROW, scale), (unsigned)width, 1,
                                  AllPlanes, ZPixmap);
        polls++;
        if (image != NULL) {
            int painted = framePainted(image, scale);
            XDestroyImage(image);
            if (painted) {
                long long now = nowNs(), running, waiting;
                threadTimes(pid, &running, &waiting);
                printf("mapped_ms=%.2f painted_ms=%.2f cpu_ms=%.2f waiting_ms=%.2f poll_us=%.0f "
                       "pid=%d width=%d\n",
                       (double)(mapped - start) / 1e6, (double)(now - start) / 1e6,
                       (double)running / 1e6, (double)waiting / 1e6,
                       (double)(now - mapped) / 1e3 / (double)polls, (int)pid, width);
                fflush(stdout);
                return waitForExit(pid);
            }
        }
    }
    fprintf(stderr, "screen_probe: no frame within %lld s\n", GIVE_UP_NS / 1000000000LL);
    kill(pid, SIGTERM);
    waitForExit(pid);
    return 1;
}

static Window findWindow(Display *dpy, int *x, int *y) {
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

static XImage *grabCell(Display *dpy, int x, int y, int cell) {
    return XGetImage(dpy, DefaultRootWindow(dpy), x + DIGIT_LEFT + DIGIT_WIDTH * cell,
                     y + DIGIT_TOP, DIGIT_WIDTH, DIGIT_ROWS, AllPlanes, ZPixmap);
}

static int cellShowsDigit(Display *dpy, int x, int y, int cell) {
    XImage *image = grabCell(dpy, x, y, cell);
    int ink = image != NULL && hasInk(image);
    if (image != NULL) {
        XDestroyImage(image);
    }
    return ink;
}

/* Owns CLIPBOARD and hands out its text, as a program that copied does. */
struct Offer {
    const char *text;
    Window window;
    Atom clipboard;
};

static int takeClipboard(Display *dpy, struct Offer *offer, const char *text) {
    offer->text = text;
    offer->window = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    offer->clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    XSetSelectionOwner(dpy, offer->clipboard, offer->window, CurrentTime);
    return XGetSelectionOwner(dpy, offer->clipboard) == offer->window;
}

static void answerRequest(Display *dpy, const struct Offer *offer,
                          const XSelectionRequestEvent *request) {
    serveText(dpy, request, offer->text, strlen(offer->text));
}

/* One key press and what the screen has to show after it. */
struct Press {
    const char *key;  /* as xdotool names it */
    KeyCode timedKey; /* the press the clock starts at; 0 for the first */
    int x, y, cell;   /* the window and, for a typed digit, its character cell */
    XImage *row;      /* for a paste: the decimal row before it */
    struct Offer *offer;
};

static XImage *grabRow(Display *dpy, int x, int y) {
    return XGetImage(dpy, DefaultRootWindow(dpy), x + DIGIT_LEFT, y + DIGIT_TOP,
                     DIGIT_WIDTH * DECIMAL_DIGITS, DIGIT_ROWS, AllPlanes, ZPixmap);
}

static int rowChanged(Display *dpy, const struct Press *press) {
    XImage *image = grabRow(dpy, press->x, press->y);
    if (image == NULL) {
        return 0;
    }
    int changed = memcmp(image->data, press->row->data,
                         (size_t)image->bytes_per_line * (size_t)image->height) != 0;
    XDestroyImage(image);
    return changed;
}

static int shown(Display *dpy, const struct Press *press) {
    return press->row != NULL ? rowChanged(dpy, press)
                              : cellShowsDigit(dpy, press->x, press->y, press->cell);
}

/* Presses the key with xdotool and polls the screen until it shows the
 * result, answering clipboard requests between two screenshots. */
static int watchPress(Display *dpy, Window window, struct Press *press) {
    /* the server copies the key press to every client that asks */
    XSelectInput(dpy, window, KeyPressMask);
    XSync(dpy, False);

    char *xdotool[] = {"xdotool", "key", (char *)press->key, NULL};
    long long start = nowNs();
    pid_t pid = spawn(xdotool, start);
    long long pressed = 0, asked = 0;
    long polls = 0;
    int result = 1;
    while (nowNs() - start < GIVE_UP_NS) {
        int done = shown(dpy, press);
        polls++;
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == KeyPress && pressed == 0 &&
                (press->timedKey == 0 || event.xkey.keycode == press->timedKey)) {
                pressed = nowNs();
            } else if (event.type == SelectionRequest && press->offer != NULL) {
                answerRequest(dpy, press->offer, &event.xselectionrequest);
                asked = asked == 0 ? nowNs() : asked;
            }
        }
        if (done && pressed != 0) {
            long long now = nowNs();
            printf("shown_ms=%.2f poll_us=%.0f", (double)(now - pressed) / 1e6,
                   (double)(now - start) / 1e3 / (double)polls);
            if (press->offer != NULL) {
                printf(" asked_ms=%.2f", asked != 0 ? (double)(asked - pressed) / 1e6 : -1.0);
            }
            printf("\n");
            result = 0;
            break;
        }
    }
    if (result != 0) {
        fprintf(stderr, "screen_probe: nothing shown within %lld s\n", GIVE_UP_NS / 1000000000LL);
    }
    waitpid(pid, NULL, 0);
    return result;
}

static Window converterWindow(Display *dpy, struct Press *press) {
    Window window = findWindow(dpy, &press->x, &press->y);
    if (window == None) {
        fprintf(stderr, "screen_probe: no converter window\n");
    }
    return window;
}

static int pressKey(Display *dpy, const char *key, int cell) {
    struct Press press = {key, 0, 0, 0, cell, NULL, NULL};
    Window window = converterWindow(dpy, &press);
    if (window == None) {
        return 1;
    }
    if (cellShowsDigit(dpy, press.x, press.y, cell)) {
        fprintf(stderr, "screen_probe: cell %d already shows a digit\n", cell);
        return 1;
    }
    return watchPress(dpy, window, &press);
}

static int paste(Display *dpy, const char *text) {
    struct Offer offer;
    struct Press press = {"ctrl+v", XKeysymToKeycode(dpy, XK_v), 0, 0, 0, NULL, &offer};
    Window window = converterWindow(dpy, &press);
    if (window == None) {
        return 1;
    }
    if (!takeClipboard(dpy, &offer, text)) {
        fprintf(stderr, "screen_probe: cannot own the clipboard\n");
        return 1;
    }
    press.row = grabRow(dpy, press.x, press.y);
    if (press.row == NULL) {
        return 1;
    }
    int result = watchPress(dpy, window, &press);
    XDestroyImage(press.row);
    return result;
}

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
    } else if (argc == 3 && strcmp(argv[1], "paste") == 0) {
        status = paste(dpy, argv[2]);
    } else {
        fprintf(stderr,
                "usage: screen_probe launch PROGRAM [ARG...] | key KEY CELL | paste TEXT\n");
    }
    XCloseDisplay(dpy);
    return status;
}

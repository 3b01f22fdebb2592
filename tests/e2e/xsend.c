/* Does for the end-to-end scripts what no packaged tool does, or not
 * cheaply: sends a window what a window manager sends, watches the screen
 * for new windows, and reads the window's pixels.
 *
 *   xsend watch-creates MS   prints "ready", then, when standard input ends
 *                            or MS milliseconds have passed, the number of
 *                            windows created on the screen meanwhile
 *   xsend serve              answers commands read a line at a time with one
 *                            line each ("ok" where the command prints nothing,
 *                            "error" after a failure), since on a busy machine
 *                            starting a process costs more than the work:
 *     close WID              WM_DELETE_WINDOW, as a close box asks
 *     focus-out WID          FocusOut, as when another window takes the keyboard
 *     focus-in WID           FocusIn
 *     shot WID FILE          the window as a binary PPM ("P6\nW H\n255\n", then
 *                            R, G, B bytes row by row); prints a hash per row
 *     pixels WID X Y...      "R G B" of each pixel X Y, joined by commas
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/time.h>
#include <unistd.h>

enum { maxWords = 64 };

/* sends the window what a window manager sends: the client message of its
 * close box (type ClientMessage) or a focus change, straight to the window */
static int sendEvent(Display *dpy, Window win, int type) {
    XEvent event;
    memset(&event, 0, sizeof event);
    long mask = FocusChangeMask;
    if (type == ClientMessage) {
        event.xclient.type = ClientMessage;
        event.xclient.window = win;
        event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
        event.xclient.data.l[1] = CurrentTime;
        mask = NoEventMask;
    } else {
        event.xfocus.type = type;
        event.xfocus.window = win;
        event.xfocus.mode = NotifyNormal;
        event.xfocus.detail = NotifyNonlinear;
    }
    if (!XSendEvent(dpy, win, False, mask, &event)) {
        fprintf(stderr, "xsend: XSendEvent failed\n");
        return 1;
    }
    XSync(dpy, False);
    return 0;
}

static long millisecondsSince(const struct timeval *start) {
    struct timeval now;
    gettimeofday(&now, NULL);
    return (now.tv_sec - start->tv_sec) * 1000L + (now.tv_usec - start->tv_usec) / 1000L;
}

/* takes what the server has sent; counts the windows created */
static int countCreates(Display *dpy) {
    int created = 0;
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
        created += event.type == CreateNotify;
    }
    return created;
}

/* counts windows created on the root until standard input ends or the time
 * is up, whichever comes first */
static int watchCreates(Display *dpy, long milliseconds) {
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);
    printf("ready\n");
    fflush(stdout);

    int created = 0;
    int stdinOpen = 1;
    struct timeval start;
    gettimeofday(&start, NULL);
    long left = milliseconds;
    while (stdinOpen && left > 0) {
        created += countCreates(dpy);
        int fd = ConnectionNumber(dpy);
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        FD_SET(0, &readable);
        struct timeval wait = {left / 1000, (left % 1000) * 1000};
        if (select(fd + 1, &readable, NULL, NULL, &wait) > 0 && FD_ISSET(0, &readable)) {
            char buffer[64];
            stdinOpen = read(0, buffer, sizeof buffer) > 0;
        }
        left = milliseconds - millisecondsSince(&start);
    }
    XSync(dpy, False);
    created += countCreates(dpy);
    printf("%d\n", created);
    return 0;
}

/* one channel of a pixel, scaled to 0..255 whatever the visual's depth */
static unsigned char maskChannel(unsigned long pixel, unsigned long mask) {
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
    }
    return (unsigned char)(mask == 0 ? 0 : (pixel & mask) * 255 / mask);
}

/* the window as the screen shows it now, or NULL after a message */
static XImage *grabWindow(Display *dpy, Window win) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(dpy, win, &attributes)) {
        fprintf(stderr, "xsend: no window 0x%lx\n", (unsigned long)win);
        return NULL;
    }
    XImage *image = XGetImage(dpy, win, 0, 0, (unsigned)attributes.width,
                              (unsigned)attributes.height, AllPlanes, ZPixmap);
    if (image == NULL) {
        fprintf(stderr, "xsend: XGetImage failed\n");
    }
    return image;
}

static void pixelColor(XImage *image, int x, int y, unsigned char rgb[3]) {
    unsigned long pixel = XGetPixel(image, x, y);
    rgb[0] = maskChannel(pixel, image->red_mask);
    rgb[1] = maskChannel(pixel, image->green_mask);
    rgb[2] = maskChannel(pixel, image->blue_mask);
}

/* writes the window as a PPM and prints an FNV-1a hash of each pixel row, so
 * that scripts compare parts of two pictures without reading them again */
static int saveShot(Display *dpy, Window win, const char *path) {
    XImage *image = grabWindow(dpy, win);
    if (image == NULL) {
        return 1;
    }
    FILE *file = fopen(path, "wb");
    uint64_t *hashes = calloc((size_t)image->height, sizeof *hashes);
    int ok = file != NULL && hashes != NULL;
    if (ok) {
        fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
    }
    for (int y = 0; ok && y < image->height; y++) {
        uint64_t hash = 14695981039346656037ULL;
        for (int x = 0; x < image->width; x++) {
            unsigned char rgb[3];
            pixelColor(image, x, y, rgb);
            fwrite(rgb, 1, 3, file);
            for (int i = 0; i < 3; i++) {
                hash = (hash ^ rgb[i]) * 1099511628211ULL;
            }
        }
        hashes[y] = hash;
    }
    if (file != NULL && fclose(file) != 0) {
        ok = 0;
    }
    if (!ok) {
        perror(path);
    }
    for (int y = 0; ok && y < image->height; y++) {
        printf(y == 0 ? "%016llx" : " %016llx", (unsigned long long)hashes[y]);
    }
    fputs(ok ? "\n" : "", stdout);
    free(hashes);
    XDestroyImage(image);
    return !ok;
}

/* prints the colours of a few pixels, read from the screen together */
static int printPixels(Display *dpy, Window win, int count, char **coordinates) {
    XImage *image = grabWindow(dpy, win);
    if (image == NULL) {
        return 1;
    }
    for (int i = 0; i + 1 < count; i += 2) {
        int x = atoi(coordinates[i]);
        int y = atoi(coordinates[i + 1]);
        if (x < 0 || y < 0 || x >= image->width || y >= image->height) {
            fprintf(stderr, "xsend: pixel %d %d lies outside the window\n", x, y);
            XDestroyImage(image);
            return 1;
        }
    }
    for (int i = 0; i + 1 < count; i += 2) {
        unsigned char rgb[3];
        pixelColor(image, atoi(coordinates[i]), atoi(coordinates[i + 1]), rgb);
        printf(i == 0 ? "%d %d %d" : ",%d %d %d", rgb[0], rgb[1], rgb[2]);
    }
    printf("\n");
    XDestroyImage(image);
    return 0;
}

/* runs one command given as words; 1 after a failure or an unknown command */
static int runCommand(Display *dpy, int count, char **words) {
    if (count < 2) {
        return 1;
    }
    const char *command = words[0];
    Window win = (Window)strtoul(words[1], NULL, 0);
    if (strcmp(command, "shot") == 0 && count == 3) {
        return saveShot(dpy, win, words[2]);
    }
    if (strcmp(command, "pixels") == 0 && count >= 4 && count % 2 == 0) {
        return printPixels(dpy, win, count - 2, words + 2);
    }
    int types[] = {ClientMessage, FocusOut, FocusIn};
    const char *names[] = {"close", "focus-out", "focus-in"};
    for (int i = 0; i < 3 && count == 2; i++) {
        if (strcmp(command, names[i]) == 0) {
            return sendEvent(dpy, win, types[i]);
        }
    }
    fprintf(stderr, "xsend: unknown command %s\n", command);
    return 1;
}

/* answers commands from standard input until it ends */
static int serve(Display *dpy) {
    char line[4096];
    while (fgets(line, sizeof line, stdin) != NULL) {
        char *words[maxWords];
        int count = 0;
        for (char *word = strtok(line, " \t\n"); word != NULL && count < maxWords;
             word = strtok(NULL, " \t\n")) {
            words[count++] = word;
        }
        int status = runCommand(dpy, count, words);
        int printsOwnLine =
            count > 0 && (strcmp(words[0], "shot") == 0 || strcmp(words[0], "pixels") == 0);
        if (status != 0) {
            printf("error\n");
        } else if (!printsOwnLine) {
            printf("ok\n");
        }
        fflush(stdout);
    }
    return 0;
}

int main(int argc, char **argv) {
    int serving = argc == 2 && strcmp(argv[1], "serve") == 0;
    if (!serving && !(argc == 3 && strcmp(argv[1], "watch-creates") == 0)) {
        fprintf(stderr, "usage: xsend serve | watch-creates MS\n");
        return 2;
    }
    Display *dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "xsend: cannot open display\n");
        return 1;
    }
    int status = serving ? serve(dpy) : watchCreates(dpy, strtol(argv[2], NULL, 0));
    XCloseDisplay(dpy);
    return status;
}

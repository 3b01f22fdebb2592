/* A display that is only a link to the real one, as the X forwarding of a
 * remote login is: it listens as display :N, the first free number from 200,
 * and forwards every connection to the server that DISPLAY names, so that
 * the link can be cut while that server lives on.
 *
 * Prints "display :N" once it listens. Then each line on standard input
 * cuts every link made so far, and "cut" is printed when that is done:
 *   drop   closes them both ways, as a link that drops does;
 *   deaf   shuts their far end for reading: the clients' requests go nowhere
 *          (a write fails with EPIPE, and raises SIGPIPE), while what the
 *          server sent still arrives.
 * Ends at the end of its input or on SIGTERM, taking its socket with it.
 */
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

enum { firstDisplay = 200, lastDisplay = 400, maxLinks = 16 };

static char socketPath[108]; /* removed at the end */
static char lockPath[64];

struct Link {
    int client, server; /* -1 once closed */
    int deaf;           /* the client's requests are no longer read */
};
static struct Link links[maxLinks];
static int linkCount;

static void removeDisplay(void) {
    unlink(socketPath);
    unlink(lockPath);
}

static void endOnSignal(int signal) {
    (void)signal;
    removeDisplay();
    _exit(0);
}

static void setPath(struct sockaddr_un *address, int display) {
    memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    snprintf(address->sun_path, sizeof address->sun_path, "/tmp/.X11-unix/X%d", display);
}

/* the lock file as X servers write it, then the socket; the display number */
static int listenAsFreeDisplay(int *listener) {
    for (int display = firstDisplay; display <= lastDisplay; display++) {
        snprintf(lockPath, sizeof lockPath, "/tmp/.X%d-lock", display);
        int lock = open(lockPath, O_WRONLY | O_CREAT | O_EXCL, 0444);
        if (lock < 0) {
            continue;
        }
        dprintf(lock, "%10d\n", (int)getpid());
        close(lock);
        struct sockaddr_un address;
        setPath(&address, display);
        *listener = socket(AF_UNIX, SOCK_STREAM, 0);
        if (bind(*listener, (struct sockaddr *)&address, sizeof address) == 0 &&
            listen(*listener, maxLinks) == 0) {
            strcpy(socketPath, address.sun_path);
            return display;
        }
        close(*listener);
        unlink(lockPath);
    }
    return -1;
}

static int connectToServer(int display) {
    struct sockaddr_un address;
    setPath(&address, display);
    int server = socket(AF_UNIX, SOCK_STREAM, 0);
    if (connect(server, (struct sockaddr *)&address, sizeof address) != 0) {
        close(server);
        return -1;
    }
    return server;
}

static int writeAll(int fd, const char *data, ssize_t size) {
    while (size > 0) {
        ssize_t written = write(fd, data, (size_t)size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return 0;
        }
        data += written;
        size -= written;
    }
    return 1;
}

static void closeLink(struct Link *link) {
    if (link->client >= 0) {
        close(link->client);
    }
    if (link->server >= 0) {
        close(link->server);
    }
    link->client = link->server = -1;
}

/* moves what `from` has to `to`; 0 when that side has ended */
static int forward(int from, int to) {
    char buffer[65536];
    ssize_t size = read(from, buffer, sizeof buffer);
    return size > 0 && writeAll(to, buffer, size);
}

static void cut(const char *how) {
    for (int i = 0; i < linkCount; i++) {
        if (strcmp(how, "drop") == 0) {
            closeLink(&links[i]);
        } else if (links[i].client >= 0) {
            shutdown(links[i].client, SHUT_RD);
            links[i].deaf = 1;
        }
    }
    printf("cut\n");
}

int main(int argc, char **argv) {
    (void)argv;
    const char *name = getenv("DISPLAY");
    if (argc != 1 || name == NULL || name[0] != ':') {
        fprintf(stderr, "usage: DISPLAY=:M link_proxy, then lines \"drop\" or \"deaf\"\n");
        return 2;
    }
    const int serverDisplay = atoi(name + 1);
    setvbuf(stdout, NULL, _IOLBF, 0);
    signal(SIGPIPE, SIG_IGN);
    signal(SIGTERM, endOnSignal);
    int listener = -1;
    const int display = listenAsFreeDisplay(&listener);
    if (display < 0) {
        fprintf(stderr, "link_proxy: no free display from %d to %d\n", firstDisplay, lastDisplay);
        return 1;
    }
    printf("display :%d\n", display);
    for (;;) {
        struct pollfd fds[2 + 2 * maxLinks];
        int count = 0;
        fds[count++] = (struct pollfd){STDIN_FILENO, POLLIN, 0};
        fds[count++] = (struct pollfd){listener, POLLIN, 0};
        const int polled = linkCount; /* a link accepted below waits for the next poll */
        for (int i = 0; i < polled; i++) {
            fds[count++] = (struct pollfd){links[i].deaf ? -1 : links[i].client, POLLIN, 0};
            fds[count++] = (struct pollfd){links[i].server, POLLIN, 0};
        }
        if (poll(fds, (nfds_t)count, -1) < 0) {
            continue;
        }
        if (fds[0].revents != 0) {
            char line[32];
            if (fgets(line, sizeof line, stdin) == NULL) {
                break;
            }
            line[strcspn(line, "\n")] = '\0';
            cut(line);
            continue; /* the links polled above may be gone */
        }
        if (fds[1].revents != 0 && linkCount < maxLinks) {
            int client = accept(listener, NULL, NULL);
            int server = client >= 0 ? connectToServer(serverDisplay) : -1;
            if (server >= 0) {
                links[linkCount++] = (struct Link){client, server, 0};
            } else if (client >= 0) {
                close(client);
            }
        }
        for (int i = 0; i < polled; i++) {
            const short fromClient = fds[2 + 2 * i].revents, fromServer = fds[3 + 2 * i].revents;
            if ((fromClient != 0 && !forward(links[i].client, links[i].server)) ||
                (fromServer != 0 && !forward(links[i].server, links[i].client))) {
                closeLink(&links[i]);
            }
        }
    }
    removeDisplay();
    return 0;
}

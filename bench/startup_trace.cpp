// The program's start-up and first pass with the real library, each library
// call of start-up timed, and the program's own reading of the desktop's
// scale. The program's own code is linked unchanged: the linker sends its
// calls of the functions below through the timing wrappers (-Wl,--wrap),
// which call the real ones.
//
// Started by screen_probe, which puts the moment of launch (CLOCK_MONOTONIC,
// nanoseconds) in BENCH_LAUNCH_NS; times are printed from then, one step a
// line: <step>|<start ms>|<duration ms>|<CPU ms of the whole process>. The
// CPU column tells a step's own work from its waiting (for the X server, or
// for a core on a busy machine). The loop ends after one pass.
#include "app/loop.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

long long clockNs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

long long nowNs() {
    return clockNs(CLOCK_MONOTONIC);
}

long long cpuNs() {
    return clockNs(CLOCK_PROCESS_CPUTIME_ID);
}

struct Step {
    const char *name;
    long long start;
    long long end;
    long long cpu;
};

Step steps[32];
int stepCount = 0;

long long launchNs = 0;
long long passStartNs = 0;
long long passStartCpuNs = 0;
int escapeTests = 0;

void addStep(const char *name, long long start, long long end, long long cpu) {
    if (stepCount < 32) {
        steps[stepCount++] = {name, start, end, cpu};
    }
}

// Runs before main and before the program's own initialisers, once the
// loader has mapped and started every shared library.
[[gnu::constructor(101)]] void markLoaded() {
    const long long now = nowNs();
    const char *launch = std::getenv("BENCH_LAUNCH_NS");
    launchNs = launch != nullptr ? std::atoll(launch) : now;
    addStep("exec and dynamic loading", launchNs, now, cpuNs());
}

template <typename Call> auto timed(const char *name, Call call) {
    const long long start = nowNs();
    const long long startCpu = cpuNs();
    auto result = call();
    addStep(name, start, nowNs(), cpuNs() - startCpu);
    return result;
}

double ms(long long ns) {
    return static_cast<double>(ns) / 1e6;
}

} // namespace

extern "C" {

bool __real_al_install_system(int, int (*)(void (*)(void)));
bool __real_al_install_mouse();
bool __real_al_install_keyboard();
bool __real_al_init_font_addon();
bool __real_al_init_ttf_addon();
bool __real_al_init_primitives_addon();
ALLEGRO_FONT *__real_al_load_ttf_font(const char *, int, int);
int __real_al_get_num_video_adapters();
bool __real_al_get_monitor_info(int, ALLEGRO_MONITOR_INFO *);
ALLEGRO_DISPLAY *__real_al_create_display(int, int);
void __real_al_set_window_title(ALLEGRO_DISPLAY *, const char *);
ALLEGRO_EVENT_QUEUE *__real_al_create_event_queue();
bool __real_al_key_down(const ALLEGRO_KEYBOARD_STATE *, int);
void __real_al_flip_display();

bool __wrap_al_install_system(int version, int (*atexitFunction)(void (*)(void))) {
    return timed("al_install_system",
                 [&] { return __real_al_install_system(version, atexitFunction); });
}
bool __wrap_al_install_mouse() {
    return timed("al_install_mouse", [] { return __real_al_install_mouse(); });
}
bool __wrap_al_install_keyboard() {
    return timed("al_install_keyboard", [] { return __real_al_install_keyboard(); });
}
bool __wrap_al_init_font_addon() {
    return timed("al_init_font_addon", [] { return __real_al_init_font_addon(); });
}
bool __wrap_al_init_ttf_addon() {
    return timed("al_init_ttf_addon", [] { return __real_al_init_ttf_addon(); });
}
bool __wrap_al_init_primitives_addon() {
    return timed("al_init_primitives_addon", [] { return __real_al_init_primitives_addon(); });
}
ALLEGRO_FONT *__wrap_al_load_ttf_font(const char *file, int size, int flags) {
    static const char *const names[3] = {"al_load_ttf_font 14", "al_load_ttf_font 18",
                                         "al_load_ttf_font 20"};
    static int loads = 0;
    const char *name = names[loads < 2 ? loads++ : 2];
    return timed(name, [&] { return __real_al_load_ttf_font(file, size, flags); });
}
// Asked only at a scale above 1, to fit the window to the smallest monitor.
int __wrap_al_get_num_video_adapters() {
    return timed("al_get_num_video_adapters", [] { return __real_al_get_num_video_adapters(); });
}
bool __wrap_al_get_monitor_info(int adapter, ALLEGRO_MONITOR_INFO *info) {
    return timed("al_get_monitor_info", [&] { return __real_al_get_monitor_info(adapter, info); });
}
ALLEGRO_DISPLAY *__wrap_al_create_display(int width, int height) {
    return timed("al_create_display", [&] { return __real_al_create_display(width, height); });
}
void __wrap_al_set_window_title(ALLEGRO_DISPLAY *display, const char *title) {
    const long long start = nowNs();
    const long long startCpu = cpuNs();
    __real_al_set_window_title(display, title);
    addStep("al_set_window_title", start, nowNs(), cpuNs() - startCpu);
}
ALLEGRO_EVENT_QUEUE *__wrap_al_create_event_queue() {
    return timed("al_create_event_queue", [] { return __real_al_create_event_queue(); });
}

// The first Escape-key test begins the first pass; the second ends the run.
bool __wrap_al_key_down(const ALLEGRO_KEYBOARD_STATE *keys, int keycode) {
    if (keycode != ALLEGRO_KEY_ESCAPE) {
        return __real_al_key_down(keys, keycode);
    }
    escapeTests += 1;
    if (escapeTests == 1) {
        passStartNs = nowNs();
        passStartCpuNs = cpuNs();
    }
    return escapeTests > 1 || __real_al_key_down(keys, keycode);
}

void __wrap_al_flip_display() {
    const long long start = nowNs();
    const long long startCpu = cpuNs();
    if (escapeTests == 1) {
        addStep("first pass up to the flip", passStartNs, start, startCpu - passStartCpuNs);
    }
    __real_al_flip_display();
    if (escapeTests == 1) {
        addStep("first al_flip_display", start, nowNs(), cpuNs() - startCpu);
    }
}

} // extern "C"

// readDpiSetting (input/desktop.h), reached by its mangled name, which the
// build gives as READ_DPI_SYMBOL. It opens the clipboard's X connection
// before it reads the resource; a scale above 1 then asks the library for
// the monitors' sizes (al_get_monitor_info above).
bool realReadDpiSetting(std::string &setting) asm("__real_" READ_DPI_SYMBOL);
bool wrappedReadDpiSetting(std::string &setting) asm("__wrap_" READ_DPI_SYMBOL);

bool wrappedReadDpiSetting(std::string &setting) {
    return timed("readDpiSetting: X connection, Xft.dpi",
                 [&] { return realReadDpiSetting(setting); });
}

int main() {
    const long long mainNs = nowNs();
    addStep("static initialisers", steps[0].end, mainNs, cpuNs() - steps[0].cpu);
    const int status = runProgram();
    for (int i = 0; i < stepCount; ++i) {
        std::printf("%s|%.2f|%.2f|%.2f\n", steps[i].name, ms(steps[i].start - launchNs),
                    ms(steps[i].end - steps[i].start), ms(steps[i].cpu));
    }
    std::fflush(stdout);
    al_rest(0.3); // the window stays up while the screen is watched
    return status;
}

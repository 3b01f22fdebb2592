#include "app/startup.h"

#include "app/heap.h"
#include "data/palette.h"
#include "data/scale.h"
#include "data/tables.h"
#include "input/desktop.h"
#include "input/display_loss.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

ALLEGRO_DISPLAY *display = nullptr;

namespace {

// One line a person can act on, then out: without the library, a font or the
// window the first drawing call would abort, so nothing is drawn at all.
void failStartUp(const char *what) {
    (void)std::fprintf(stderr, "%s: %s\n", programName, what);
    std::exit(1);
}

void require(bool ok, const char *what) {
    if (!ok) {
        failStartUp(what);
    }
}

// The window opens on the monitor of whatever window has the focus, which
// the library does not say beforehand: the scale is cut to fit the smallest
// monitor, where it fits any. A screen that cannot be measured gets scale 1,
// the size every screen takes.
double fitMonitors(double wanted) {
    int width = INT_MAX;
    int height = INT_MAX;
    const int adapters = al_get_num_video_adapters();
    for (int adapter = 0; adapter < adapters; ++adapter) {
        ALLEGRO_MONITOR_INFO monitor{};
        if (al_get_monitor_info(adapter, &monitor)) {
            width = std::min(width, monitor.x2 - monitor.x1);
            height = std::min(height, monitor.y2 - monitor.y1);
        }
    }
    return width == INT_MAX ? 1 : scaleThatFits(wanted, width, height);
}

// Before the fonts, which are loaded at the scaled sizes. Without a setting
// the library is asked nothing more than at scale 1 it ever was.
void chooseWindowScale() {
    std::string setting;
    windowScale = readDpiSetting(setting) ? scaleForDpi(setting) : 1;
    if (windowScale > 1) {
        windowScale = fitMonitors(windowScale);
    }
}

// Looked at only once a load has failed: a font that is missing wants the
// program started elsewhere, one that is there but unreadable wants the
// file replaced.
const char *fontFault() {
    std::error_code error;
    const std::filesystem::file_status found = std::filesystem::status(fontFileName, error);
    if (found.type() == std::filesystem::file_type::not_found) {
        return "nie można wczytać czcionki arial.ttf: plik arial.ttf musi leżeć w katalogu "
               "roboczym, z którego uruchamiasz program";
    }
    if (std::filesystem::is_directory(found)) {
        return "nie można wczytać czcionki arial.ttf: arial.ttf jest katalogiem, a nie plikiem "
               "czcionki";
    }
    return "nie można wczytać czcionki arial.ttf: plik arial.ttf istnieje, ale nie jest czytelną "
           "czcionką TrueType (uszkodzony, bez prawa odczytu lub innego rodzaju)";
}

} // namespace

void startUp() {
    keepFrameHeap();
    endOnDisplayLoss();
    require(al_install_system(ALLEGRO_VERSION_INT, atexit),
            "nie można uruchomić biblioteki Allegro 5 (zainstaluj liballegro5.2)");
    require(al_install_mouse(),
            "nie można uruchomić obsługi myszy: brak ekranu graficznego (sprawdź zmienną DISPLAY)");
    require(al_install_keyboard(), "nie można uruchomić obsługi klawiatury: brak ekranu "
                                   "graficznego (sprawdź zmienną DISPLAY)");
    // This release wants the font add-on started before the TrueType one.
    require(al_init_font_addon() && al_init_ttf_addon() && al_init_primitives_addon(),
            "nie można uruchomić dodatków Allegro 5 (zainstaluj liballegro-ttf5.2)");
    chooseWindowScale();
    loadFonts();
    if (fontSmall == nullptr || fontMedium == nullptr || fontLarge == nullptr) {
        failStartUp(fontFault());
    }
    mapPalette();
    display = al_create_display(scaled(windowWidth), scaled(windowHeight));
    if (display == nullptr) {
        // Built by appending: g++ 12 at -O2 warns of an overlap in operator+.
        std::string message = "nie można otworzyć okna ";
        message += std::to_string(scaled(windowWidth));
        message += 'x';
        message += std::to_string(scaled(windowHeight));
        message += ": brak ekranu graficznego (sprawdź zmienną DISPLAY)";
        failStartUp(message.c_str());
    }
    al_set_window_title(display, windowTitle);
}

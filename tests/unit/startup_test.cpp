#include "clipboard_standin.h"
#include "harness.h"

#include "data/palette.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

using StartupTest = ProgramTest;

namespace {

// A set-up call with what it was given: numbers, flags, then any name or text.
std::string setUpRow(const standin::Call &call) {
    std::string row = call.name;
    if (call.name == "al_install_system") {
        return row + " " + std::to_string(call.flags) + " " + call.text;
    }
    for (const float number : call.args) {
        row.append(" ").append(std::to_string(static_cast<int>(number)));
    }
    if (call.name == "al_load_ttf_font") {
        row += " flags " + std::to_string(call.flags);
    }
    return call.text.empty() ? row : row + " " + call.text;
}

} // namespace

// In order and with their exact values, and nothing drawn yet. The heap is
// told to keep 8 MiB of freed space before the library allocates anything.
// The title and the window's event source belong to the window just created (1).
TEST_F(StartupTest, SetUpCallsTheLibraryInOrderWithExactValues) {
    ASSERT_EQ(runPasses(1), 0);
    std::vector<std::string> expected = {"mallopt " + std::to_string(M_TRIM_THRESHOLD) + " 8388608",
                                         "al_install_system " +
                                             std::to_string(ALLEGRO_VERSION_INT) + " atexit",
                                         "al_install_mouse",
                                         "al_install_keyboard",
                                         "al_init_font_addon",
                                         "al_init_ttf_addon",
                                         "al_init_primitives_addon",
                                         "al_load_ttf_font 14 flags 0 arial.ttf",
                                         "al_load_ttf_font 18 flags 0 arial.ttf",
                                         "al_load_ttf_font 20 flags 0 arial.ttf"};
    for (const geometry::Colour &e : geometry::palette) {
        expected.push_back("al_map_rgb " + std::to_string(e.red) + " " + std::to_string(e.green) +
                           " " + std::to_string(e.blue));
    }
    expected.insert(expected.end(),
                    {"al_create_display " + std::to_string(geometry::layoutWidth) + " " +
                         std::to_string(geometry::layoutHeight),
                     "al_set_window_title 1 Ravuriradoz syst. liczbowych DHB",
                     "al_create_event_queue", "al_get_keyboard_event_source",
                     "al_register_event_source keyboard", "al_get_display_event_source 1",
                     "al_register_event_source display"});
    std::vector<std::string> made;
    for (const standin::Call &call : standin::calls()) {
        if (call.pass == 0) {
            made.push_back(setUpRow(call));
        }
    }
    EXPECT_EQ(made, expected);
    // The loss of the display is watched for before the library opens its
    // connection to it, so that no moment of the run is left to Xlib's end.
    const std::vector<standin::ClipboardCall> watches =
        standin::clipboardCallsNamed("displayWatch");
    ASSERT_EQ(watches.size(), 1U);
    ASSERT_LT(watches[0].callsBefore, standin::calls().size());
    EXPECT_EQ(standin::calls()[watches[0].callsBefore].name, "al_install_system");
    EXPECT_TRUE(standin::callsNamed("al_flip_display", 0).empty());
    EXPECT_EQ(standin::fontName(fontSmall), "small");
    EXPECT_EQ(standin::fontName(fontMedium), "medium");
    EXPECT_EQ(standin::fontName(fontLarge), "large");
    // Each colour variable holds what its call made.
    const ALLEGRO_COLOR *const variables[] = {&colorInk,      &colorDeepTeal,  &colorBackground,
                                              &colorTeal,     &colorMidTeal,   &colorFieldFill,
                                              &colorGreyTeal, &colorHighlight, &colorAccent};
    for (std::size_t i = 0; i < std::size(variables); ++i) {
        EXPECT_EQ(colorName(*variables[i]), geometry::palette[i].name);
    }
}

// ---- Start-up failures ----
//
// The process exits inside startUp, so the parent never sees the child's
// stand-in. The child reports from an exit handler what it drew, how many
// passes it began and the last library call it made; the handler also shows
// the exit went through exit(), which runs the library's own shutdown.

namespace {

void reportChildCalls() {
    const auto &calls = standin::calls();
    int drawn = 0;
    for (const standin::Call &call : calls) {
        drawn += call.name == "al_flip_display" || call.name == "al_clear_to_color" ||
                 call.name.rfind("al_draw_", 0) == 0;
    }
    std::fprintf(stderr, "[drawn %d, passes %d, last %s]\n", drawn, standin::passesBegun(),
                 calls.empty() ? "none" : calls.back().name.c_str());
}

// What lies at arial.ttf in the working directory of a start.
enum Found { nothing, folder, junkFile };

struct Failure {
    bool standin::Options::*knob; // nullptr: what fails is named by the two below
    const char *message;          // what the one line must say
    const char *lastCall;
    const char *failingCall = nullptr;
    int fontSize = 0; // of the one font load that fails
    Found found = nothing;
    const char *dpi = nullptr; // the desktop's Xft.dpi setting
};

// Each start runs in a folder of its own, so that what the message says of
// arial.ttf depends on the row alone and not on where the tests run.
std::filesystem::path workingFolder(Found found) {
    std::string pattern = (std::filesystem::temp_directory_path() / "startup-XXXXXX").string();
    const std::filesystem::path folderMade = mkdtemp(pattern.data());
    if (found == folder) {
        std::filesystem::create_directory(folderMade / "arial.ttf");
    } else if (found == junkFile) {
        std::ofstream(folderMade / "arial.ttf") << "not a font";
    }
    return folderMade;
}

constexpr const char *fontMessage = "arial\\.ttf[^\n]*katalogu roboczym";
constexpr const char *folderMessage = "czcionki arial\\.ttf: arial\\.ttf jest katalogiem";
constexpr const char *junkMessage = "czcionki arial\\.ttf: plik arial\\.ttf istnieje, ale nie jest "
                                    "czytelną czcionką TrueType";
constexpr const char *addOnMessage = "dodatk[^\n]*liballegro-ttf5\\.2";

} // namespace

using StartupDeathTest = ProgramTest;

TEST_F(StartupDeathTest, FailureWritesOneLineAndExitsWithOneBeforeDrawing) {
    const Failure failures[] = {
        {&standin::Options::systemFails, "Allegro 5", "al_install_system"},
        {&standin::Options::mouseFails, "myszy", "al_install_mouse"},
        {&standin::Options::keyboardFails, "klawiatury", "al_install_keyboard"},
        {&standin::Options::fontFails, fontMessage, "al_load_ttf_font"},
        {&standin::Options::displayFails, "okna 496x190", "al_create_display"},
        // The window named at the size it was to have.
        {&standin::Options::displayFails, "okna 992x380", "al_create_display", nullptr, 0, nothing,
         "192"},
        // Any one font or add-on alone is enough; the three fonts are all
        // loaded before they are checked.
        {nullptr, fontMessage, "al_load_ttf_font", nullptr, 14},
        {nullptr, fontMessage, "al_load_ttf_font", nullptr, 18},
        {nullptr, fontMessage, "al_load_ttf_font", nullptr, 20},
        {nullptr, addOnMessage, "al_init_font_addon", "al_init_font_addon"},
        {nullptr, addOnMessage, "al_init_ttf_addon", "al_init_ttf_addon"},
        {nullptr, addOnMessage, "al_init_primitives_addon", "al_init_primitives_addon"},
        // A font that is there but will not load is named as what was found.
        {&standin::Options::fontFails, folderMessage, "al_load_ttf_font", nullptr, 0, folder},
        {&standin::Options::fontFails, junkMessage, "al_load_ttf_font", nullptr, 0, junkFile},
        {nullptr, folderMessage, "al_load_ttf_font", nullptr, 20, folder},
        {nullptr, junkMessage, "al_load_ttf_font", nullptr, 14, junkFile},
    };
    for (const Failure &failure : failures) {
        SCOPED_TRACE(std::string(failure.lastCall) + " " + std::to_string(failure.fontSize) +
                     " found " + std::to_string(failure.found));
        SetUp();
        if (failure.knob != nullptr) {
            standin::options().*failure.knob = true;
        }
        if (failure.failingCall != nullptr) {
            standin::options().failingCalls.insert(failure.failingCall);
        }
        standin::options().failingFontSize = failure.fontSize;
        if (failure.dpi != nullptr) {
            standin::setDpiSetting(failure.dpi);
        }
        const std::string expected = std::string("^ravuriradoz: [^\n]*") + failure.message +
                                     "[^\n]*\n\\[drawn 0, passes 0, last " + failure.lastCall +
                                     "\\]\n$";
        const std::filesystem::path folderMade = workingFolder(failure.found);
        EXPECT_EXIT(
            {
                std::atexit(reportChildCalls);
                std::filesystem::current_path(folderMade);
                runPasses(3);
            },
            ::testing::ExitedWithCode(1), expected);
        std::filesystem::remove_all(folderMade);
    }
}

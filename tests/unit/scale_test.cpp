// The desktop's scale: the Xft.dpi setting as read, the window and fonts it
// gives on screens of several sizes, and every drawing call of a pass at
// the scale against the same pass at 96 dpi.
#include "clipboard_standin.h"
#include "harness.h"

#include "data/scale.h"

#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using ScaleTest = ProgramTest;

// A set-up call that the scale decides, as a line.
std::vector<std::string> scaleCalls() {
    std::vector<std::string> rows;
    for (const standin::Call &call : standin::calls()) {
        if (call.pass != 0) {
            continue;
        }
        if (call.name == "al_load_ttf_font" || call.name == "al_create_display" ||
            call.name == "al_get_monitor_info") {
            std::string row = call.name;
            for (const float number : call.args) {
                row += " " + std::to_string(static_cast<int>(number));
            }
            rows.push_back(row);
        } else if (call.name == "al_get_num_video_adapters") {
            rows.push_back(call.name);
        }
    }
    return rows;
}

// An outline of the 96 dpi pass as fills of the pixels it lights there, as
// measured under Xvfb: thickness 1 lights columns x1 - 1 and x2 - 1 and rows
// y1 and y2, thickness 2 columns x1 - 1, x1, x2 - 1, x2 and rows y1 - 1, y1,
// y2 - 1, y2, corners included. The top and bottom rows whole, then the
// left and right columns between them.
std::vector<standin::Call> outlineAsFills(const standin::Call &outline) {
    const auto at = [&outline](std::size_t arg) { return static_cast<int>(outline.args.at(arg)); };
    const int thickness = at(4);
    EXPECT_TRUE(thickness == 1 || thickness == 2) << "thickness " << thickness << " not measured";
    // The first column or row each edge lights.
    const int left = at(0) - 1;
    const int right = at(2) - 1;
    const int top = at(1) - (thickness - 1);
    const int bottom = at(3) - (thickness - 1);
    const geometry::Rect strips[4] = {
        {left, top, right + thickness, top + thickness},
        {left, bottom, right + thickness, bottom + thickness},
        {left, top + thickness, left + thickness, bottom},
        {right, top + thickness, right + thickness, bottom},
    };
    std::vector<standin::Call> fills;
    for (const geometry::Rect &strip : strips) {
        standin::Call fill = outline;
        fill.name = "al_draw_filled_rectangle";
        fill.args = {static_cast<float>(strip.x1), static_cast<float>(strip.y1),
                     static_cast<float>(strip.x2), static_cast<float>(strip.y2)};
        fills.push_back(fill);
    }
    return fills;
}

std::vector<std::string> fontsAndWindow(int small, int medium, int large, int width, int height) {
    return {"al_load_ttf_font " + std::to_string(small),
            "al_load_ttf_font " + std::to_string(medium),
            "al_load_ttf_font " + std::to_string(large),
            "al_create_display " + std::to_string(width) + " " + std::to_string(height)};
}

} // namespace

// What a settings panel writes reads as that many 96ths; anything else,
// written by whatever program, is no setting, and 96 or less is scale 1.
TEST(DpiSettingTest, ReadsAsTheScaleOrNoSetting) {
    const struct {
        std::string setting;
        double scale;
    } cases[] = {
        {"96", 1},    {"192", 2},
        {"144", 1.5}, {"120", 1.25},
        {"288", 3},   {"240", 2.5},
        {"96.0", 1},  {"168.5", 168.5 / 96},
        {" 192", 2},  {"192\t", 2},
        {"48", 1},    {"1", 1},
        {"", 1},      {"   ", 1},
        {".", 1},     {"abc", 1},
        {"-192", 1},  {"+192", 1},
        {"0", 1},     {"0.5", 1},
        {"nan", 1},   {"inf", 1},
        {"1e3", 1},   {"0x60", 1},
        {"192px", 1}, {"192 dpi", 1},
        {"19 2", 1},  {"1.9.2", 1},
        {"192,5", 1}, {std::string(400, '9'), 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE("\"" + c.setting + "\"");
        EXPECT_DOUBLE_EQ(scaleForDpi(c.setting), c.scale);
    }
    // Absurd but a number: read as asked, for the screen to cut down.
    EXPECT_DOUBLE_EQ(scaleForDpi("96000000000000000000"), 1e18);
}

// 496 x 190 times the scale, rounded, and the fonts rasterised at their
// sizes times the scale; cut to the smallest monitor, never below 1. A
// desktop at 96 dpi or none asks the library for nothing more.
TEST_F(ScaleTest, WindowAndFontsFollowTheScaleWithinTheScreen) {
    const std::vector<std::string> monitor0 = {"al_get_num_video_adapters",
                                               "al_get_monitor_info 0"};
    const struct {
        const char *name;
        std::optional<std::string> setting;
        std::vector<ALLEGRO_MONITOR_INFO> monitors;
        std::vector<std::string> asked; // of the monitors
        std::vector<std::string> made;
    } cases[] = {
        {"none", std::nullopt, {{0, 0, 1920, 1080}}, {}, fontsAndWindow(14, 18, 20, 496, 190)},
        {"96", "96", {{0, 0, 1920, 1080}}, {}, fontsAndWindow(14, 18, 20, 496, 190)},
        {"malformed", "192px", {{0, 0, 1920, 1080}}, {}, fontsAndWindow(14, 18, 20, 496, 190)},
        {"192", "192", {{0, 0, 1920, 1080}}, monitor0, fontsAndWindow(28, 36, 40, 992, 380)},
        {"144", "144", {{0, 0, 1920, 1080}}, monitor0, fontsAndWindow(21, 27, 30, 744, 285)},
        {"120", "120", {{0, 0, 1920, 1080}}, monitor0, fontsAndWindow(18, 23, 25, 620, 238)},
        {"288", "288", {{0, 0, 1920, 1080}}, monitor0, fontsAndWindow(42, 54, 60, 1488, 570)},
        // Too wide for an 800 x 600 screen: 800 / 496 fits.
        {"192 on 800x600",
         "192",
         {{0, 0, 800, 600}},
         monitor0,
         fontsAndWindow(23, 29, 32, 800, 306)},
        // Too tall for a wide, low screen: 300 / 190.
        {"288 on 3000x300",
         "288",
         {{0, 0, 3000, 300}},
         monitor0,
         fontsAndWindow(22, 28, 32, 783, 300)},
        {"absurd",
         "96000000000000000000",
         {{0, 0, 1024, 768}},
         monitor0,
         fontsAndWindow(29, 37, 41, 1024, 392)},
        // A screen smaller than the window at 1 still gets the window at 1.
        {"192 on 400x300",
         "192",
         {{0, 0, 400, 300}},
         monitor0,
         fontsAndWindow(14, 18, 20, 496, 190)},
        // The smallest of two monitors, wherever it lies.
        {"192 on two",
         "192",
         {{0, 0, 3840, 2160}, {3840, 0, 4640, 600}},
         {"al_get_num_video_adapters", "al_get_monitor_info 0", "al_get_monitor_info 1"},
         fontsAndWindow(23, 29, 32, 800, 306)},
        // A monitor the library cannot measure counts for nothing; none at
        // all leaves no size to fit, and the window at 1 fits any.
        {"192, one unmeasured",
         "192",
         {{INT_MAX, 0, 0, 0}, {0, 0, 1920, 1080}},
         {"al_get_num_video_adapters", "al_get_monitor_info 0", "al_get_monitor_info 1"},
         fontsAndWindow(28, 36, 40, 992, 380)},
        {"192, none measured",
         "192",
         {{INT_MAX, 0, 0, 0}},
         monitor0,
         fontsAndWindow(14, 18, 20, 496, 190)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        standin::setDpiSetting(c.setting);
        standin::options().monitors = c.monitors;
        ASSERT_EQ(runPasses(1), 0);
        std::vector<std::string> want = c.asked;
        want.insert(want.end(), c.made.begin(), c.made.end());
        EXPECT_EQ(scaleCalls(), want);
    }
}

// Each window pixel belongs to the one layout pixel drawn over it.
TEST_F(ScaleTest, EveryWindowPixelBelongsToOneLayoutPixel) {
    for (const DesktopScale &desktop : desktopScales) {
        SCOPED_TRACE(desktop.scale);
        windowScale = desktop.scale;
        for (int unit = -20; unit <= 520; ++unit) {
            const int first = windowPixel(unit, desktop.scale);
            const int last = windowPixel(unit, desktop.scale, true);
            ASSERT_LE(first, last) << "layout pixel " << unit << " covers no window pixel";
            EXPECT_EQ(scaled(unit), first);
            for (int pixel = first; pixel <= last; ++pixel) {
                ASSERT_EQ(unscaled(pixel), unit) << "window pixel " << pixel;
            }
        }
    }
}

// A pass at a scale makes the calls of the same pass at 96 dpi, in the same
// order, colours, fonts and texts, with every coordinate times the scale,
// rounded; an outline comes as fills of the pixels it lights at 96 dpi, so
// that each covers the spans of its layout pixels. The cursor stands after
// the text as measured at the scale, one pass earlier. The script types,
// hovers a key and a button and moves rows, so that every kind of call is
// drawn.
TEST_F(ScaleTest, EveryDrawingCallIsThePassAt96DpiScaled) {
    const int passes = 6;
    const auto script = [](double scale) {
        const geometry::Spot key5 = geometry::keySpot(5);
        const geometry::Spot backSpot = geometry::buttonSpot(geometry::backButton);
        chooseMode(2);
        typeText(2, "1f");
        standin::pointer(3, windowPixel(key5.x, scale), windowPixel(key5.y, scale));
        standin::pointer(4, windowPixel(backSpot.x, scale), windowPixel(backSpot.y, scale));
        standin::holdKey(5, ALLEGRO_KEY_DOWN);
    };
    script(1);
    runPasses(passes);
    std::vector<std::vector<standin::Call>> atOne; // in layout pixels, outlines as fills
    std::vector<std::vector<std::string>> fontsAtOne;
    for (int pass = 1; pass <= passes; ++pass) {
        atOne.emplace_back();
        fontsAtOne.emplace_back();
        for (const standin::Call &call : standin::drawCalls(pass)) {
            std::vector<standin::Call> drawn = {call};
            if (call.name == "al_draw_rectangle") {
                drawn = outlineAsFills(call);
            }
            for (const standin::Call &part : drawn) {
                atOne.back().push_back(part);
                fontsAtOne.back().push_back(standin::fontName(part.font));
            }
        }
    }
    for (const DesktopScale &desktop : desktopScales) {
        if (desktop.dpi == nullptr) {
            continue;
        }
        SCOPED_TRACE(desktop.dpi);
        SetUp();
        setDesktopScale(desktop);
        script(desktop.scale);
        runPasses(passes);
        for (int pass = 1; pass <= passes; ++pass) {
            SCOPED_TRACE("pass " + std::to_string(pass));
            const auto index = static_cast<std::size_t>(pass - 1);
            const std::vector<standin::Call> drawn = standin::drawCalls(pass);
            ASSERT_EQ(drawn.size(), atOne[index].size());
            for (std::size_t i = 0; i < drawn.size(); ++i) {
                standin::Call expected = atOne[index][i];
                for (float &arg : expected.args) {
                    arg = static_cast<float>(windowPixel(static_cast<int>(arg), desktop.scale));
                }
                if (expected.format == "_") {
                    const std::vector<standin::Call> measured =
                        standin::callsNamed("al_get_text_width", pass - 1);
                    const int offset = measured.empty() ? 0 : static_cast<int>(measured[0].args[0]);
                    expected.args[0] =
                        static_cast<float>(windowPixel(geometry::textX, desktop.scale) + offset);
                }
                EXPECT_EQ(standin::fontName(drawn[i].font), fontsAtOne[index][i]) << "call " << i;
                expected.font = drawn[i].font;
                EXPECT_EQ(describe(drawn[i]), describe(expected)) << "call " << i;
            }
        }
    }
}

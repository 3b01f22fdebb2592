#include "clipboard_standin.h"
#include "harness.h"

#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using LoopTest = ProgramTest;

namespace {

// The pass's calls in order, with each run of drawing folded into one "draw".
std::vector<std::string> skeleton(int pass) {
    std::vector<std::string> steps;
    for (const standin::Call &call : standin::calls()) {
        if (call.pass != pass) {
            continue;
        }
        std::string step = call.name;
        if (call.name == "al_clear_to_color" || call.name == "al_get_text_width" ||
            call.name.rfind("al_draw_", 0) == 0) {
            step = "draw";
        } else if (call.name == "al_key_down") {
            step = "key " + std::to_string(static_cast<int>(call.args.at(0)));
        } else if (call.name == "al_rest") {
            std::ostringstream seconds; // 0.1, 0.01 or 0.001, as written
            seconds << call.args.at(0);
            step = "rest " + seconds.str();
        }
        if (step != "draw" || steps.empty() || steps.back() != "draw") {
            steps.push_back(step);
        }
    }
    return steps;
}

std::size_t fetches(int pass) {
    return standin::callsNamed("al_get_next_event", pass).size();
}

std::size_t rests(float seconds, int pass) {
    std::size_t count = 0;
    for (const standin::Call &call : standin::callsNamed("al_rest", pass)) {
        count += call.args.at(0) == seconds ? 1 : 0;
    }
    return count;
}

// The pointer over `spot` with `buttons` held.
standin::MouseSample at(const geometry::Spot &spot, int buttons) {
    return {spot.x, spot.y, buttons};
}

ALLEGRO_EVENT keyChar(int c) {
    return standin::keyCharEvent(c);
}

// Escape test, fetch, samples, the arrows (keys 85 and 84), drawing, the
// frame shown, then `tail` and the pass's one closing rest.
std::vector<std::string> passOf(std::vector<std::string> arrows, std::vector<std::string> tail) {
    std::vector<std::string> steps = {"key 59", "al_get_next_event", "al_get_keyboard_state",
                                      "al_get_mouse_state"};
    steps.insert(steps.end(), arrows.begin(), arrows.end());
    steps.insert(steps.end(), {"draw", "al_flip_display"});
    steps.insert(steps.end(), tail.begin(), tail.end());
    steps.push_back("rest 0.01");
    return steps;
}

// A key's down, character and up events.
std::vector<ALLEGRO_EVENT> typed(int c) {
    return {standin::keyDownEvent(), keyChar(c), standin::keyUpEvent()};
}

// Passes 1 and 2 as scripted, then idle ones up to `passes`.
void runScript(const standin::PassScript &first, const standin::PassScript &second, int passes) {
    standin::pass(1) = first;
    standin::pass(2) = second;
    ASSERT_EQ(runPasses(passes), 0);
}

} // namespace

TEST_F(LoopTest, PassCallsInOrder) {
    const std::vector<std::string> noArrows = {"key 85", "key 84"};
    const struct {
        const char *name;
        standin::PassScript first, second; // passes 1 and 2
        std::vector<std::string> expected; // of pass 2
    } cases[] = {
        // clang-format off
        {"idle", {}, {}, passOf(noArrows, {})},
        {"downHeld", {}, {{}, {ALLEGRO_KEY_DOWN}, {}},
         passOf({"key 85", "rest 0.1", "key 84"}, {})},
        {"upHeld", {}, {{}, {ALLEGRO_KEY_UP}, {}}, passOf({"key 85", "key 84", "rest 0.1"}, {})},
        {"bothHeld", {}, {{}, {ALLEGRO_KEY_DOWN, ALLEGRO_KEY_UP}, {}},
         passOf({"key 85", "rest 0.1", "key 84", "rest 0.1"}, {})},
        // The press is fetched here: no character, so no drain.
        {"keyDownFetched", {}, {typed('5'), {}, {}}, passOf(noArrows, {})},
        {"charFetched", {typed('5'), {}, {}}, {}, passOf(noArrows, {"al_get_next_event"})},
        {"drainStopsAtFirstZero", {},
         {{keyChar('1'), keyChar('2'), standin::keyUpEvent(), keyChar('3')}, {}, {}},
         passOf(noArrows, {"al_get_next_event", "rest 0.001", "al_get_next_event"})},
        {"closeRequest", {}, {{standin::windowEvent()}, {}, {}}, passOf(noArrows, {})},
        // Only a positive character starts a drain; once begun, a drain ends
        // only at a zero one.
        {"negativeStartsNoDrain", {}, {{keyChar(-1), keyChar('2')}, {}, {}}, passOf(noArrows, {})},
        {"ctrlAStartsDrain", {typed(1), {}, {}}, {}, passOf(noArrows, {"al_get_next_event"})},
        {"drainRunsPastNegatives", {},
         {{keyChar('1'), keyChar(-1), keyChar(-2), standin::keyUpEvent()}, {}, {}},
         passOf(noArrows, {"al_get_next_event", "rest 0.001", "al_get_next_event", "rest 0.001",
                           "al_get_next_event"})},
        // The wait for release comes before the drain.
        {"clickAndChar", {typed('5'), {}, {{10, 10, 1}}}, {},
         passOf(noArrows, {"al_get_mouse_state", "al_get_next_event"})},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        runScript(c.first, c.second, 3);
        EXPECT_EQ(skeleton(2), c.expected);
    }
}

// What the renderer's frames left on the heap goes back to the system once
// every hundred passes, after the pass's rest, and only then.
TEST_F(LoopTest, KeptHeapIsGivenBackEveryHundredPasses) {
    ASSERT_EQ(runPasses(250), 0);
    std::vector<int> passes;
    for (const standin::Call &call : standin::callsNamed("malloc_trim")) {
        passes.push_back(call.pass);
        EXPECT_EQ(call.args.at(0), 0.0F);
    }
    EXPECT_EQ(passes, (std::vector<int>{100, 200}));
    const std::vector<std::string> steps = skeleton(100);
    ASSERT_GE(steps.size(), 2U);
    EXPECT_EQ(steps[steps.size() - 2], "rest 0.01");
    EXPECT_EQ(steps.back(), "malloc_trim");
}

TEST_F(LoopTest, LongRunOfCharactersDrains62FetchesWith61Rests) {
    for (int i = 0; i < 100; ++i) {
        standin::pass(1).events.push_back(keyChar('1'));
    }
    ASSERT_EQ(runPasses(3), 0);
    EXPECT_EQ(fetches(1), 1U + 62U);
    EXPECT_EQ(rests(0.001F, 1), 61U);
    // 37 left: one applied at the top of pass 2, 36 drained, then an empty fetch.
    EXPECT_EQ(fetches(2), 1U + 37U);
    EXPECT_EQ(rests(0.001F, 2), 36U);
    EXPECT_EQ(fetches(3), 1U);
    EXPECT_EQ(rests(0.001F, 3), 0U);
    EXPECT_EQ(shownText(1, 1), "1");
    EXPECT_EQ(shownText(2, 1), "11");
    EXPECT_EQ(shownText(3, 1), "11");
}

// One held key's single event does not type again in passes with an empty queue.
TEST_F(LoopTest, CharacterEventIsAppliedOnce) {
    typeAt(2, '7');
    typeAt(9, '1');
    typeAt(10, '1');
    ASSERT_EQ(runPasses(12), 0);
    for (int pass = 1; pass <= 12; ++pass) {
        const bool charFetched = pass == 2 || pass == 9 || pass == 10;
        EXPECT_EQ(shown[pass].typed, pass == 2 ? '7' : charFetched ? '1' : 0) << pass;
        EXPECT_EQ(fetches(pass), charFetched ? 2U : 1U) << "a drain only after a character";
        EXPECT_EQ(shownText(pass, 1), pass < 2    ? ""
                                      : pass < 9  ? "7"
                                      : pass < 10 ? "71"
                                                  : "711")
            << pass;
    }
}

// A window event carries no character: no editing, no drain, and the close
// request leaves the program running.
TEST_F(LoopTest, WindowEventsGiveNoCharacterAndDoNotEnd) {
    for (ALLEGRO_EVENT_TYPE type : {ALLEGRO_EVENT_DISPLAY_CLOSE, ALLEGRO_EVENT_DISPLAY_SWITCH_IN,
                                    ALLEGRO_EVENT_DISPLAY_SWITCH_OUT}) {
        SCOPED_TRACE(type);
        SetUp();
        standin::pass(2).events = {keyChar('5'), standin::windowEvent(type), keyChar('6')};
        // A character read from a window event would drain the 7 away.
        standin::pass(4).events = {standin::windowEvent(type), keyChar('7')};
        EXPECT_EQ(runPasses(6), 0);
        EXPECT_EQ(standin::passesBegun(), 7);
        EXPECT_EQ(standin::callsNamed("al_flip_display").size(), 6U);
        EXPECT_EQ(fetches(2), 2U) << "the window event ends the drain";
        EXPECT_EQ(shownText(3, 1), "56");
        EXPECT_EQ(shown[4].typed, 0);
        EXPECT_EQ(fetches(4), 1U);
        EXPECT_EQ(skeleton(4).back(), "rest 0.01");
        EXPECT_EQ(standin::callsNamed("al_rest", 4).size(), 1U);
        EXPECT_EQ(shownText(4, 1), "56");
        EXPECT_EQ(shownText(5, 1), "567");
    }
}

TEST_F(LoopTest, EscapeKeyEndsAtTheTopOfTheNextPass) {
    standin::holdKey(3, ALLEGRO_KEY_ESCAPE);
    standin::typeKey(4, '9');
    EXPECT_EQ(runPasses(10), 0);
    EXPECT_EQ(standin::passesBegun(), 4);
    EXPECT_EQ(skeleton(4), std::vector<std::string>{"key 59"});
    EXPECT_EQ(standin::callsNamed("al_flip_display").size(), 3U);
}

// A typed Escape or a primary click on the exit button ends the run after
// the pass's frame is shown, its press released and its closing rest taken.
TEST_F(LoopTest, TypedEscapeAndExitClickEndAtTheEndOfThePass) {
    const geometry::Spot exitSpot = geometry::buttonSpot(geometry::exitButton);
    const geometry::Spot backSpot = geometry::buttonSpot(geometry::backButton);
    const standin::MouseSample exitHeld = at(exitSpot, 1);
    const standin::MouseSample leftOfRows = at({geometry::overLabelsX, exitSpot.y}, 1);
    const struct {
        const char *name;
        standin::PassScript first, second; // passes 1 and 2
        bool ends;                         // in pass 2; otherwise the script's 10 passes run out
    } cases[] = {
        // clang-format off
        {"typedEscapeAlone", {}, {{keyChar(27)}, {}, {}}, true},
        // The drain takes the key's release after the 27; the program still ends.
        {"typedEscapeKey", {typed(27), {}, {}}, {}, true},
        {"escapeFetchedByDrain", {}, {{keyChar('5'), keyChar(27), standin::keyUpEvent()}, {}, {}},
         true},
        {"escapeThenMoreCharacters", {}, {{keyChar(27), keyChar('5'), keyChar('6')}, {}, {}}, true},
        // A window event's 27 is garbage, not a typed Escape.
        {"windowEventHolding27", {},
         {{standin::windowEvent(ALLEGRO_EVENT_DISPLAY_CLOSE, 27)}, {}, {}}, false},
        {"windowEventHolding27Drained", {},
         {{keyChar('5'), standin::windowEvent(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT, 27)}, {}, {}},
         false},
        {"exitHeldThroughPolls", {{}, {}, {exitHeld}}, {{}, {}, {exitHeld, exitHeld, exitHeld}},
         true},
        {"exitSecondary", {{}, {}, {at(exitSpot, 2)}}, {}, false},
        {"exitBothButtons", {{}, {}, {at(exitSpot, 3)}}, {}, false},
        {"backButton", {{}, {}, {at(backSpot, 1)}}, {}, false},
        // A press acts where it was first seen, wherever it is held by then.
        {"exitMovedLeftOfRows", {{}, {}, {exitHeld}}, {{}, {}, {leftOfRows, leftOfRows}}, true},
        {"exitMovedOntoBack", {{}, {}, {exitHeld}}, {{}, {}, {at(backSpot, 1)}}, true},
        {"backMovedOntoExit", {{}, {}, {at(backSpot, 1)}}, {{}, {}, {exitHeld}}, false},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        runScript(c.first, c.second, 10);
        const int last = c.ends ? 2 : 10;
        const int begun = c.ends ? 2 : 11;
        EXPECT_EQ(standin::passesBegun(), begun);
        if (standin::passesBegun() != begun) {
            continue; // ended elsewhere: the checks below would read past its calls
        }
        EXPECT_EQ(standin::callsNamed("al_flip_display").size(), static_cast<std::size_t>(last));
        EXPECT_EQ(skeleton(last).back(), "rest 0.01");
        EXPECT_EQ(standin::callsNamed("al_get_mouse_state").back().args.at(2), 0.0F)
            << "ended before the press was released";
    }
}

// An arrow steps on the first sample that shows it down, however long a tap
// lasts; held, it steps again from its 45th sample on, once a pass, resting
// after each step. Up and Down count their samples apart.
TEST_F(LoopTest, AnArrowStepsOnceAPressAndRepeatsFromIts45thSample) {
    constexpr int down = ALLEGRO_KEY_DOWN;
    constexpr int up = ALLEGRO_KEY_UP;
    struct Hold {
        int key, first, samples; // held in the samples of passes first, first + 1, ...
    };
    const struct {
        const char *name;
        std::vector<Hold> holds;
        std::set<int> downSteps, upSteps; // the passes in which each arrow steps
    } cases[] = {
        {"downSeenOnce", {{down, 2, 1}}, {2}, {}},
        {"downSeenTwice", {{down, 2, 2}}, {2}, {}},
        {"downSeen44Times", {{down, 2, 44}}, {2}, {}},
        {"downSeen45Times", {{down, 2, 45}}, {2, 46}, {}},
        {"downSeen47Times", {{down, 2, 47}}, {2, 46, 47, 48}, {}},
        {"upSeen45Times", {{up, 2, 45}}, {}, {2, 46}},
        {"bothSeen45Times", {{down, 2, 45}, {up, 2, 45}}, {2, 46}, {2, 46}},
        {"upTappedWhileDownHeld", {{down, 2, 47}, {up, 20, 2}}, {2, 46, 47, 48}, {20}},
        {"downTappedTwice", {{down, 2, 3}, {down, 6, 2}}, {2, 6}, {}},
    };
    const int passes = 52;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const Hold &hold : c.holds) {
            for (int pass = hold.first; pass < hold.first + hold.samples; ++pass) {
                standin::holdKey(pass, hold.key);
            }
        }
        ASSERT_EQ(runPasses(passes), 0);
        int mode = 1;
        for (int pass = 1; pass <= passes; ++pass) {
            const std::size_t steps = c.downSteps.count(pass) + c.upSteps.count(pass);
            mode +=
                static_cast<int>(c.downSteps.count(pass)) - static_cast<int>(c.upSteps.count(pass));
            mode = mode > 3 ? 1 : mode < 1 ? 3 : mode;
            EXPECT_EQ(shown[pass].mode, mode) << "pass " << pass;
            EXPECT_EQ(rests(0.1F, pass), steps) << "pass " << pass;
        }
    }
}

namespace {

// The signal's action as a run left it: "default", "ignored" or "caught".
std::string actionOf(int signal) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler == SIG_DFL   ? "default"
           : action.sa_handler == SIG_IGN ? "ignored"
                                          : "caught";
}

// The index among all calls of the last one named `name`.
std::size_t lastCallNamed(const std::string &name) {
    const std::vector<standin::Call> &calls = standin::calls();
    std::size_t found = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        found = calls[i].name == name ? i : found;
    }
    return found;
}

} // namespace

// SIGTERM, SIGHUP and SIGINT end the run at the end of the pass they come
// in, wherever in it they come: that pass runs and is shown as any other;
// the copy is handed over after it, and then the signal is raised again
// with each signal's action as it was. One ignored at the start stays so.
TEST_F(LoopTest, EndSignalEndsTheRunAtTheEndOfThePassItCameIn) {
    const std::vector<std::string> signalledPass = [] {
        std::vector<std::string> steps = passOf({"key 85", "key 84"}, {});
        steps.emplace_back("raise");
        return steps;
    }();
    const struct {
        const char *name;
        const char *call; // in pass 2
        int signal;
        bool ignored; // at the start of the run
    } cases[] = {
        {"termAtTheEscapeTest", "al_key_down", SIGTERM, false},
        {"termAtTheFetch", "al_get_next_event", SIGTERM, false},
        {"hupAtTheFlip", "al_flip_display", SIGHUP, false},
        {"intAtTheClosingRest", "al_rest", SIGINT, false},
        {"hupIgnored", "al_flip_display", SIGHUP, true},
        {"intIgnored", "al_get_next_event", SIGINT, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.ignored) {
            (void)std::signal(c.signal, SIG_IGN);
        }
        standin::options().signalAt = {c.signal, 2, c.call};
        const int status = runPasses(5);
        for (const int signal : endSignals) {
            EXPECT_EQ(actionOf(signal), c.ignored && signal == c.signal ? "ignored" : "default")
                << signal;
        }
        if (c.ignored) {
            EXPECT_EQ(status, 0);
            EXPECT_EQ(standin::passesBegun(), 6);
            EXPECT_TRUE(standin::callsNamed("raise").empty());
            (void)std::signal(c.signal, SIG_DFL);
            continue;
        }
        EXPECT_EQ(status, 128 + c.signal);
        EXPECT_EQ(standin::passesBegun(), 2);
        EXPECT_EQ(standin::callsNamed("al_flip_display").size(), 2U);
        EXPECT_EQ(skeleton(2), signalledPass);
        EXPECT_EQ(standin::callsNamed("raise").at(0).args.at(0), static_cast<float>(c.signal));
        const std::vector<standin::ClipboardCall> handOvers =
            standin::clipboardCallsNamed("handOver");
        ASSERT_EQ(handOvers.size(), 1U);
        EXPECT_GT(handOvers[0].callsBefore, lastCallNamed("al_flip_display"));
        EXPECT_LE(handOvers[0].callsBefore, lastCallNamed("raise"));
    }
}

// The wait for a held button's release ends with the poll in which a signal
// comes; the press has acted, and the pass goes on to its end. Ignored, the
// signal leaves the wait to the release.
TEST_F(LoopTest, EndSignalCutsTheWaitForReleaseShort) {
    const int held = 10; // polls that see the button still down
    const struct {
        const char *name;
        int poll; // the poll of pass 2 the signal comes in
        bool ignored;
        std::size_t samples; // pointer samples of pass 2: its own, then the polls
    } cases[] = {
        {"firstPoll", 1, false, 2},
        {"thirdPoll", 3, false, 4},
        {"ignored", 3, true, 1 + held + 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.ignored) {
            (void)std::signal(SIGHUP, SIG_IGN);
        }
        press(1, 10, 10, 1, 1 + held); // outside the panel, where it acts on nothing
        standin::options().signalAt = {SIGHUP, 2, "al_get_mouse_state", 1 + c.poll};
        const int status = runPasses(4);
        (void)std::signal(SIGHUP, SIG_DFL);
        EXPECT_EQ(status, c.ignored ? 0 : 128 + SIGHUP);
        EXPECT_EQ(standin::callsNamed("al_get_mouse_state", 2).size(), c.samples);
        EXPECT_EQ(skeleton(2).back(), c.ignored ? "rest 0.01" : "raise");
    }
}

// The process itself ends by the signal, after the pass it came in was shown
// and the copy handed over; during start-up, at once and with nothing shown.
// The child tells on stderr what it showed and when the signal was raised.
using LoopDeathTest = ProgramTest;

TEST_F(LoopDeathTest, EndSignalEndsTheProcessByThatSignal) {
    const struct {
        const char *name;
        int signal;
        int pass;
        const char *call;
        const char *told; // on stderr
    } cases[] = {
        {"term", SIGTERM, 2, "al_flip_display", "frame 1, frame 2, raised 15 after handOver, "},
        {"hup", SIGHUP, 3, "al_get_next_event",
         "frame 1, frame 2, frame 3, raised 1 after handOver, "},
        {"int", SIGINT, 1, "al_rest", "frame 1, raised 2 after handOver, "},
        {"termInStartUp", SIGTERM, 0, "al_create_display", ""},
        {"intInStartUp", SIGINT, 0, "al_install_keyboard", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        standin::options().signalAt = {c.signal, c.pass, c.call};
        standin::options().onFlip = [](int pass) {
            (void)std::fprintf(stderr, "frame %d, ", pass);
        };
        standin::options().onRaise = [](int signal) {
            (void)std::fprintf(stderr, "raised %d after %s, ", signal,
                               standin::clipboardCalls().back().name.c_str());
            (void)pthread_kill(pthread_self(), signal);
        };
        EXPECT_EXIT(runPasses(5), ::testing::KilledBySignal(c.signal),
                    std::string("^") + c.told + "$");
    }
}

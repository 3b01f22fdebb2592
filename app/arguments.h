// The command line. It is answered before anything of the library is
// touched, so that --help and --version work without a display, and a
// mistyped option ends the run before a window opens.
#pragma once

#include <iosfwd>

inline constexpr int openWindow = -1; // no arguments: what answerArguments returns to run

// Prints the version or the help on `out`, or names a stray argument on
// `err`, and returns the exit status; openWindow when there is nothing to
// answer. `version` comes from the build.
int answerArguments(int argc, const char *const argv[], const char *version, std::ostream &out,
                    std::ostream &err);

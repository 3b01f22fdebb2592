// The command line. It is answered before anything of the library is
// touched, so that --help, --version and numbers to convert work without a
// display, and a mistyped option ends the run before a window opens.
#pragma once

#include <iosfwd>

inline constexpr int openWindow = -1; // nothing to answer: what answerArguments returns to run

// Prints the version, the help or the conversions of the numbers given on
// `out`, names what it refuses on `err`, and returns the exit status:
// 0, 1 for a refused number or output that could not be written, 2 for a
// command line the program does not take; openWindow when there is
// nothing to answer. `version` comes from the build.
int answerArguments(int argc, const char *const argv[], const char *version, std::ostream &out,
                    std::ostream &err);

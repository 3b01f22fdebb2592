// Turns the fuzzer's bytes into passes for the stand-in: typed characters of
// any code, bare character bursts, key presses and releases, pointer samples
// anywhere with any button mask, held arrow keys and window events.
#pragma once

#include "standin.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct FuzzScript {
    std::vector<standin::PassScript> passes; // passes[0] is pass 1
    int length = 0;                          // passes the loop is given before Escape
};

// Every byte string decodes to a script of a bounded number of passes and
// events, so a run always ends.
FuzzScript decodeScript(const std::uint8_t *data, std::size_t size);

// Hands the script to a freshly reset stand-in.
void loadScript(const FuzzScript &script);

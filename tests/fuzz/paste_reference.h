// A second reader of pasted texts, written apart from convert/paste.cpp so
// that the fuzzer can hold the two against each other: it decodes the whole
// text to code points first, splits the body into groups and weighs the
// value by comparing digit strings instead of accumulating it.
#pragma once

#include <string>

struct ReferenceNumber {
    bool accepted = false;
    unsigned long long value = 0;
    int notation = 0;
    std::string digits;
};

ReferenceNumber referenceRead(const std::string &text, int mode);

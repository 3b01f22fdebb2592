// The desktop's scale: how many window pixels one pixel of the layout takes.
//
// A desktop set to 150 % or 200 % says so through the X resources (Xft.dpi
// 144 or 192 instead of 96). The window, its shapes and its fonts grow by
// that much, while every table of the program stays in the layout's pixels,
// the 96 dpi ones: drawing turns layout pixels into window pixels, and the
// pointer turns window pixels back, each in one place. At scale 1 both are
// the identity.
#pragma once

#include <string>

inline constexpr double referenceDpi = 96; // what a desktop at 100 % says

extern double windowScale; // set once at start-up, before the fonts; 1 without a setting

// The scale an Xft.dpi text asks for: the number over 96, and 1 for a text
// that is no plain decimal number from 1 up (a sign, an exponent, anything
// after the number but blanks) or that asks for less than 1.
double scaleForDpi(const std::string &setting);
// The largest scale up to `wanted` at which the window fits a screen of
// width x height pixels; never below 1.
double scaleThatFits(double wanted, int width, int height);

// Layout pixel `coordinate` in window pixels at windowScale, rounded.
int scaledAtScale(int coordinate);
// The layout pixel that window pixel `pixel` belongs to: the one whose
// scaled span [scaled(u), scaled(u + 1)) holds it. Every window pixel
// belongs to exactly one, so a region of the layout covers on screen just
// the pixels it is drawn on.
int unscaledAtScale(int pixel);

// Every coordinate of every drawing call passes through these: at scale 1
// they are the number itself, inline, with no call and no rounding.
inline int scaled(int coordinate) {
    return windowScale == 1 ? coordinate : scaledAtScale(coordinate);
}
inline int unscaled(int pixel) {
    return windowScale == 1 ? pixel : unscaledAtScale(pixel);
}

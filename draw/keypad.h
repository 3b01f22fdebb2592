// The raised keys of the active notation and the highlight under the pointer.
#pragma once

// Raises the first keypadKeyCount keys over the dim ones, testing the pointer
// against each key as soon as it is drawn.
void drawKeypad();
// Lights the key or button under the pointer while no button is held.
void drawHoverHighlight();

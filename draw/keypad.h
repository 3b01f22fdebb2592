// The raised keys of the active notation and the highlight under the pointer.
#pragma once

// Raises the first keypadKeyCount keys over the dim ones.
void drawKeypad();
// Lights the key or button under the pointer while no button is held.
void drawHoverHighlight();

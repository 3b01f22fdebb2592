// The part of the window that never changes: background, panel, field rows
// with their empty boxes, the two buttons and all sixteen keys, dim.
#pragma once

void drawFrame();

// What the heap does with the memory the renderer frees after each frame.
//
// Under software GL the library builds every frame in 64 kB blocks taken
// from the heap, about 3.5 MB of them, and frees them once the frame is
// drawn. By default the C library hands that space back to the system at
// once and has to fault it in again, page by page, for the next frame: most
// of a pass went on it. The space is kept instead, and handed back about
// once a second, so the memory a run holds follows what it drew lately and
// not the busiest frame it ever drew.
#pragma once

void keepFrameHeap(); // at start-up, before the library allocates; the count starts again
void trimFrameHeap(); // at the end of every pass

// The two states an idle pass is measured in: holding a copied value, as
// after Ctrl+C, or not, as after another program copied. The benches switch
// between them block by block, so that a change in the machine's load falls
// on both states alike.
#pragma once

// The program copies the longest decimal text, or loses the clipboard to a
// connection of the bench's own. The program sees the loss at its next
// serveClipboard(), as it would on the desktop. Needs an X server; ends the
// process when the state is not reached, so that no figure is taken in the
// wrong one.
void holdCopy(bool held);

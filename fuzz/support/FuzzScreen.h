#pragma once

// The render library on an open 640 x 480 screen with no window, for targets whose parsers
// end in texture downloads or drawing. Opened once for the whole run; a screen that does not
// open stops the run.

void OpenFuzzScreen();

// Draws what was queued and shows the frame, so that every input reaches the rasterizer and
// no queue outlives its input.
void FinishFuzzFrame();

// Message boxes go nowhere: a damaged input is expected to be refused with one.
void SilenceMessages();

// Pen strokes across a key: a stroke starts at the pen-down point (which the window keeps) and
// ends far enough away at the pen-up point. The toolkit only says which kind of stroke it was;
// what a stroke does is the business of the keyboard that got it.
#pragma once

#include <device/windows.h>

enum StrokeKind { kNoStroke = 0, kStrokeRight = 1, kStrokeLeft = 2, kStrokeDown = 3, kStrokeUp = 4 };

// The stroke from `origin` to `penUp`: horizontal when |dx| > |dy| (so a diagonal with equal
// sides is vertical), and a stroke only when it goes more than `threshold` pixels along that
// axis; anything shorter is kNoStroke (a tap).
StrokeKind ClassifyStroke(POINT origin, POINT penUp, int threshold);

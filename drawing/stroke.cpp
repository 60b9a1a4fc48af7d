#include "drawing/stroke.h"

#include <cstdlib>

StrokeKind ClassifyStroke(POINT origin, POINT penUp, int threshold) {
  const int dx = std::abs(origin.x - penUp.x);
  const int dy = std::abs(origin.y - penUp.y);
  if (dx > dy) {
    if (penUp.x > origin.x + threshold) return kStrokeRight;
    if (origin.x > penUp.x + threshold) return kStrokeLeft;
  } else {
    if (penUp.y > origin.y + threshold) return kStrokeDown;
    if (origin.y > penUp.y + threshold) return kStrokeUp;
  }
  return kNoStroke;
}

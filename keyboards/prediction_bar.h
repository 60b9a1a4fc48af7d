// PredictKeysClass: the prediction bar, three buttons showing the word tracker's completions
// of the word being typed. Created once by the main screen as a visible child titled
// "predict key"; horizontal above the portrait keyboards, vertical beside the landscape one.
#pragma once

#include "common/window_class.h"
#include "keyboards/keyboard_common.h"

#include <device/windows.h>

inline constexpr WCHAR kPredictionBarClass[] = u"PredictKeysClass";
inline constexpr WCHAR kPredictionBarTitle[] = u"predict key";

constexpr WPARAM kBarHorizontal = 0;  // BarLayoutMessage wParam
constexpr WPARAM kBarVertical = 1;

// Button `button` of a layout (left to right, or top to bottom): its rectangle in the bar's
// client coordinates and its skin image; an empty rectangle and -1 for an index out of range.
KeyPlace PredictionBarButtonPlace(WPARAM layout, int button);

LRESULT CALLBACK PredictKeysClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// PredictKeysClass: arrow cursor, no background brush, no icon; start-up registers it.
inline constexpr WindowClassRow kPredictionBarClassRow{kPredictionBarClass, PredictKeysClassProc, true,
                                                       kNoBackground};

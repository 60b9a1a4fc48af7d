// The FontTable: fonts made once and named by small integer font ids.
#pragma once

#include <device/windows.h>

// Creates a font (three attempts) and returns its new id; the entry is kept even when the
// platform could not make the font, and text drawn with it then uses the default font.
int CreateAppFont(const WCHAR* faceName, int height, bool vertical, bool bold);

// The font of `fontId`; none when the id is unknown or the table is empty.
HFONT GetAppFont(int fontId);

// Deletes the font and removes its entry; an unknown id shows "kakuKK!!" / "kaak".
void DeleteAppFont(int fontId);

// Deletes every font and empties the table (the start window does it when destroyed).
void DeleteAllAppFonts();

// The font used when a drawing call is given none: the first entry of the table, made as
// "MS SANS SERIF" of height 15 (bold when `bold`) if the table is still empty.
HFONT DefaultAppFont(bool bold = false);

// EditMode: what the MainScreen edits, set by whoever opens it and read by the main screen and
// the menu bar to decide how Enter, "Save" and "Back" end the editing.
#pragma once

#include <cstdint>

enum EditModeValue : std::int32_t {
  kEditField = 0,        // one text for another window (a contact field, a predefined text)
  kEditNewNote = 1,      // a new note
  kEditContactList = 2,  // the contact list is open
  kEditNotesList = 3,    // the notes list is open (a note file is edited)
  kEditSearchText = 4,   // a search text of the notes list
};

// Process-wide, user-interface thread only.
inline std::int32_t EditMode = kEditField;

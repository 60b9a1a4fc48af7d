// The next-word file (in practice "<language>\phrases.dat"): lines of two white-space
// separated words, the first word and a word that may follow it ("thank you"). Read only.
//
// Encoding: UTF-16LE when the file starts with the byte-order mark FF FE, otherwise UTF-8
// (an optional UTF-8 byte-order mark is skipped; invalid sequences read as U+FFFD). CR LF
// counts as one line end, as in a text-mode read.
// Lines are read as a wide-character line reader with a 256-character buffer reads them: at
// most 255 characters at a time, up to and including the line end, so a longer line is read
// in pieces and each piece is taken as a line. A piece without two tokens is skipped; text
// after the second token is ignored; each word keeps at most 127 characters (a longer token
// is cut, and the next token is the next white-space separated one).
#pragma once

#include "prediction/next_word_list.h"

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>

// Appends the pairs of the file bytes to the list, in line order.
void ParseNextWordFile(const std::uint8_t* bytes, std::size_t size, NextWordList& list);

// Empties the list, then reads the file at the device path into it. The path "-" or a missing
// file leaves the list empty. Returns true when the file was read.
bool LoadNextWordList(const WCHAR* path, NextWordList& list);

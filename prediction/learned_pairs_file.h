// The learned pairs file, "pairs.dat" in the folder of the language's word dictionary file
// (all integers little-endian):
//
//   offset 0  4 bytes  "PRS1"
//   offset 4  4 bytes  unsigned 32-bit L: payload length before compression
//   offset 8  rest     the payload as one zlib stream (RFC 1950), compression level 3
//
//   payload:  unsigned 32-bit N (at most kMaxLearnedPairs), then N records back to back:
//             2 bytes count (1..65535), 1 byte length (1..255) and the first word's UTF-16LE
//             characters, 1 byte length (1..255) and the following word's characters
//
// Records go in order of last use, oldest first, so that loading gives back the same recency
// order. Counts above 65535 are saved as 65535. Saving goes through the atomic file helper. A
// file that does not load as a whole (wrong tag, bad stream, N too large, a record of length
// 0 or running past L, bytes left after the last record) loads as no pairs, and before the
// next save it is renamed aside ("pairs.dat.bad", ...) rather than written over.
#pragma once

#include "prediction/learned_pairs.h"

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "pairs.dat" beside the word dictionary file at `dictionaryPath`; "-" (no file) when that is
// "-" or holds no folder.
std::u16string LearnedPairsPath(const std::u16string& dictionaryPath);

std::vector<std::uint8_t> BuildLearnedPairsFile(const LearnedPairs& pairs);

// Adds every pair of the file bytes; a malformed file adds nothing and returns false.
bool ParseLearnedPairsFile(const std::uint8_t* bytes, std::size_t size, LearnedPairs& pairs);

// Empties `pairs` and reads the file at the device path ("-": none). Returns true when pairs
// were read from a well-formed file; a missing or malformed file leaves no pairs.
bool LoadLearnedPairs(const WCHAR* path, LearnedPairs& pairs);

// Writes the pairs when they changed since they were loaded or saved, atomically. A file at
// the path that does not load is first renamed aside and the new name goes to `keptAs`
// (emptied otherwise); when it cannot be renamed nothing is saved. Returns true when the file
// holds the pairs afterwards (also when nothing needed writing).
bool SaveLearnedPairs(const WCHAR* path, LearnedPairs& pairs, std::u16string* keptAs = nullptr);

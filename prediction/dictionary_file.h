// The word dictionary file (in practice "<language>\db.dat"):
//
//   offset 0  4 bytes  unsigned 32-bit little-endian L: payload length before compression
//   offset 4  rest     the payload as one zlib stream (RFC 1950), compression level 3
//
//   payload:  signed 32-bit N (number of records), then N records back to back:
//             2 bytes unsigned count, 1 byte length n (1..255), n UTF-16LE characters
//
// Records go bucket by bucket (0 to 31), in stored order within a bucket, so reading them
// back restores the same buckets in the same order.
//
// Deliberate differences from a naive writer:
// - Counts above 65535 are saved as 65535 (saturated), not as their low 16 bits, so a very
//   frequent word never comes back as a rare or dead one.
// - Saving writes a new file beside the old one and renames it over the old one only once it
//   is complete and flushed; a failed save leaves the previous file intact.
// - A file that failed to load is moved aside before the first save, never written over
//   (a flipped bit would otherwise turn a dictionary of thousands of words into an empty one).
// - Records of length 0 (which no writer produces) are skipped on load.
// A malformed file (4 bytes or less, L below 4, L beyond what the compressed bytes could
// hold, a stream that does not decompress to exactly L bytes, N negative, records running
// past L) loads as an empty dictionary.
#pragma once

#include "prediction/word_dictionary.h"

#include <device/win_types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Removes the words whose count is `threshold` or less from the dictionary and returns the
// complete file bytes of the rest.
std::vector<std::uint8_t> BuildWordDictionaryFile(WordDictionary& dictionary, std::int32_t threshold);

// Appends every record of the file bytes with AddStoredWord. A malformed file adds nothing
// and returns false.
bool ParseWordDictionaryFile(const std::uint8_t* bytes, std::size_t size, WordDictionary& dictionary);

// Adds the words of the file at the device path to the dictionary (the caller empties it
// first). A missing file leaves it unchanged; if the file's folder was missing too, the folder
// is created with a 4-byte placeholder file in it. The path "-" names no file. Returns true
// when words were read from a well-formed file.
bool LoadWordDictionary(const WCHAR* path, WordDictionary& dictionary);

// Removes the words at or below `threshold` and writes the others to the file at the device
// path, atomically. Returns success; on failure the old file is unchanged. A file already at
// the path that holds more than its length field but does not load (so its words never
// reached the dictionary) is never written over: it is first renamed to "<path>.bad" (or
// "<path>.bad.2", ... when that is taken) and that name goes to `keptAs`; when it cannot be
// renamed nothing is saved. `keptAs` is emptied otherwise.
bool SaveWordDictionary(const WCHAR* path, WordDictionary& dictionary, std::int32_t threshold,
                        std::u16string* keptAs = nullptr);

// Renames the file to "<path>.bad", or "<path>.bad.2", "<path>.bad.3", ... when those are
// taken; never over another file. Returns the new path, empty when it could not be moved.
// A prediction file that does not load goes aside this way before it is saved over.
std::u16string MoveFileAside(const WCHAR* path);

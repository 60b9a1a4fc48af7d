// A zlib stream at a fixed level, compressed on two threads when the input is large.
//
// Saving a large learned dictionary is dominated by deflate itself. A large input is cut in
// two halves that are deflated at the same time; the first half ends on a byte boundary with
// a non-final block, the second continues with the first half's last 32 KiB as its preset
// window, and the two raw streams are joined under one zlib header and one Adler-32 of the
// whole input. The result is an ordinary zlib stream that `uncompress` reads; inputs below
// the threshold give exactly what `compress2` gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the zlib stream of `input` to `output`; false when zlib fails.
bool CompressZlibStream(const std::uint8_t* input, std::size_t size, int level, std::vector<std::uint8_t>& output);

// Inputs at least this large are compressed on two threads.
constexpr std::size_t kParallelCompressionThreshold = 512 * 1024;

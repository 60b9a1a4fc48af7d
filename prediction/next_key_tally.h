// NextKeyTally: the per-lookup count of which character follows a typed prefix, summed over
// the candidate words' counts, and the choice of the three likeliest characters.
// It lives on the caller's stack: a lookup allocates nothing.
#pragma once

#include <device/win_types.h>

#include <cstdint>

// The best characters seen so far, ordered by tally (highest first) and, among equal
// tallies, by character code (lowest first). A tally of 0 never qualifies.
class TopKeys {
 public:
  void Offer(WCHAR key, std::int64_t tally);
  // Writes the 0 to 3 characters and a terminator (room for 4 characters needed).
  void Write(WCHAR* out) const;

 private:
  WCHAR key_[3] = {};
  std::int64_t tally_[3] = {};
  int size_ = 0;
};

// An open-addressing table of up to 512 distinct characters. Prefixes of alphabetic
// languages are followed by a few dozen at most; a caller whose candidates hold more falls
// back to counting one range of character codes at a time (see FindCompletions).
class NextKeyTally {
 public:
  static constexpr int kSlots = 512;

  // False when the table is full and `key` is new: the tally is then incomplete.
  bool Add(WCHAR key, std::int64_t amount);
  void OfferAll(TopKeys& top) const;

 private:
  WCHAR keys_[kSlots];
  std::int64_t sums_[kSlots];
  bool used_[kSlots] = {};
  int size_ = 0;
};

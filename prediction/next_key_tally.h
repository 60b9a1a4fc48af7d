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

// Characters of two 256-code pages are counted directly: ASCII and Latin-1, and the page of
// the prefix's first character (Greek, Cyrillic, ...), which hold nearly every letter that
// follows a prefix. Others go to an open-addressing table of up to 512 distinct characters; a
// caller whose candidates hold more falls back to counting one range of codes at a time.
class NextKeyTally {
 public:
  static constexpr int kSlots = 512;

  explicit NextKeyTally(WCHAR homeCharacter) : homePage_(homeCharacter >> 8) {}

  // False when the table is full and `key` is new: the tally is then incomplete.
  bool Add(WCHAR key, std::int64_t amount) {
    const unsigned page = key >> 8;
    if (page == 0) {
      direct_[0][key & 0xFF] += amount;
      return true;
    }
    if (page == homePage_) {
      direct_[1][key & 0xFF] += amount;
      return true;
    }
    return AddHashed(key, amount);
  }

  void OfferAll(TopKeys& top) const;

 private:
  bool AddHashed(WCHAR key, std::int64_t amount);

  unsigned homePage_;
  std::int64_t direct_[2][256] = {};
  WCHAR keys_[kSlots];
  std::int64_t sums_[kSlots];
  bool used_[kSlots] = {};
  int size_ = 0;
};

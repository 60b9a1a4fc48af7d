#include "prediction/next_key_tally.h"

namespace {

bool Before(WCHAR keyA, std::int64_t tallyA, WCHAR keyB, std::int64_t tallyB) {
  return tallyA != tallyB ? tallyA > tallyB : keyA < keyB;
}

}  // namespace

void TopKeys::Offer(WCHAR key, std::int64_t tally) {
  if (tally <= 0) return;
  int at = size_;
  while (at > 0 && Before(key, tally, key_[at - 1], tally_[at - 1])) --at;
  if (at >= 3) return;
  for (int k = (size_ < 3 ? size_ : 2); k > at; --k) {
    key_[k] = key_[k - 1];
    tally_[k] = tally_[k - 1];
  }
  key_[at] = key;
  tally_[at] = tally;
  if (size_ < 3) ++size_;
}

void TopKeys::Write(WCHAR* out) const {
  for (int k = 0; k < size_; ++k) out[k] = key_[k];
  out[size_] = 0;
}

bool NextKeyTally::AddHashed(WCHAR key, std::int64_t amount) {
  // Fibonacci hashing spreads neighbouring letters over the table.
  unsigned slot = (static_cast<std::uint32_t>(key) * 2654435761u) >> 23;  // 9 bits: 0..511
  for (int probes = 0; probes < kSlots; ++probes, slot = (slot + 1) % kSlots) {
    if (!used_[slot]) {
      if (size_ == kSlots) return false;
      used_[slot] = true;
      keys_[slot] = key;
      sums_[slot] = amount;
      ++size_;
      return true;
    }
    if (keys_[slot] == key) {
      sums_[slot] += amount;
      return true;
    }
  }
  return false;
}

void NextKeyTally::OfferAll(TopKeys& top) const {
  for (unsigned k = 0; k < 256; ++k) {
    if (direct_[0][k] != 0) top.Offer(static_cast<WCHAR>(k), direct_[0][k]);
    // The home page may be page 0 too; it then never receives a count.
    if (direct_[1][k] != 0) top.Offer(static_cast<WCHAR>((homePage_ << 8) | k), direct_[1][k]);
  }
  for (int slot = 0; slot < kSlots; ++slot)
    if (used_[slot]) top.Offer(keys_[slot], sums_[slot]);
}

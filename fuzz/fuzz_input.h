// Splits one fuzzer input into the pieces a target needs: fixed-size numbers first, then
// length-prefixed chunks, the rest last. Running out of bytes gives zeros and empty chunks, so
// every input, however short, is a valid test case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t Dword() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{Byte()} << shift;
    return value;
  }
  // A chunk whose length (at most 65535) comes from the next two bytes.
  std::vector<std::uint8_t> Chunk() {
    std::size_t length = Byte();
    length |= std::size_t{Byte()} << 8;
    return Take(length);
  }
  std::vector<std::uint8_t> Rest() { return Take(size_ - at_); }

 private:
  std::vector<std::uint8_t> Take(std::size_t length) {
    if (length > size_ - at_) length = size_ - at_;
    std::vector<std::uint8_t> piece(data_ + at_, data_ + at_ + length);
    at_ += length;
    return piece;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

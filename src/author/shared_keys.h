#pragma once
// A set of state keys in memory shared with copies of this program: this process adds keys,
// the copies look them up (an open-addressing table; 0 marks a free slot). The copies
// only read it, so a key is written once, by a single writer.
#include <cstddef>
#include <cstdint>

namespace author {

class SharedKeys {
 public:
  // Room for about `keys` keys.
  explicit SharedKeys(long keys);
  ~SharedKeys();
  SharedKeys(const SharedKeys&) = delete;
  SharedKeys& operator=(const SharedKeys&) = delete;

  bool isOpen() const { return slots_ != nullptr; }
  // False when the table is full (the key is then not in it).
  bool add(uint64_t key);
  bool has(uint64_t key) const;

 private:
  const uint64_t capacity_;  // a power of two
  uint64_t* slots_;
};

}  // namespace author

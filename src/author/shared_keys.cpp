#include "author/shared_keys.h"

#include <algorithm>
#include <bit>

#include "platform/port.h"

namespace author {
namespace {

// Key 0 marks a free slot: it is stored as 1.
uint64_t stored(uint64_t key) { return key ? key : 1; }

/* The slots lie in memory other processes read while this one writes, and are never
   constructed as C++ objects: they are read and written with the compilers' atomic
   built-ins (std::atomic_ref is not in every library this builds with). */
static_assert(__atomic_always_lock_free(sizeof(uint64_t), 0));
uint64_t load(const uint64_t& slot) { return __atomic_load_n(&slot, __ATOMIC_ACQUIRE); }
void store(uint64_t& slot, uint64_t key) { __atomic_store_n(&slot, key, __ATOMIC_RELEASE); }

}  // namespace

// Twice the room asked for, so probes stay short; never more than 128 MiB.
SharedKeys::SharedKeys(long keys)
    : capacity_(std::bit_ceil(static_cast<uint64_t>(std::clamp(2 * keys + 2, 1024L, 1L << 24)))),
      slots_(static_cast<uint64_t*>(platform::takeSharedMemory(capacity_ * sizeof(uint64_t)))) {}

SharedKeys::~SharedKeys() { platform::releaseSharedMemory(slots_, capacity_ * sizeof(uint64_t)); }

bool SharedKeys::add(uint64_t key) {
  key = stored(key);
  const uint64_t mask = capacity_ - 1;
  for (uint64_t probe = 0, i = key & mask; probe < capacity_ / 2; ++probe, i = (i + 1) & mask) {
    const uint64_t seen = load(slots_[i]);
    if (seen == key) return true;
    if (seen == 0) {
      store(slots_[i], key);
      return true;
    }
  }
  return false;
}

bool SharedKeys::has(uint64_t key) const {
  key = stored(key);
  const uint64_t mask = capacity_ - 1;
  for (uint64_t probe = 0, i = key & mask; probe < capacity_; ++probe, i = (i + 1) & mask) {
    const uint64_t seen = load(slots_[i]);
    if (seen == key) return true;
    if (seen == 0) return false;
  }
  return false;
}

}  // namespace author

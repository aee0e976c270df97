#include "author/shared_keys.h"

#include <algorithm>
#include <atomic>
#include <bit>

#include "platform/port.h"

namespace author {
namespace {

static_assert(std::atomic_ref<uint64_t>::is_always_lock_free);

// Key 0 marks a free slot: it is stored as 1.
uint64_t stored(uint64_t key) { return key ? key : 1; }

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
    std::atomic_ref<uint64_t> slot(slots_[i]);
    const uint64_t seen = slot.load(std::memory_order_relaxed);
    if (seen == key) return true;
    if (seen == 0) {
      slot.store(key, std::memory_order_release);
      return true;
    }
  }
  return false;
}

bool SharedKeys::has(uint64_t key) const {
  key = stored(key);
  const uint64_t mask = capacity_ - 1;
  for (uint64_t probe = 0, i = key & mask; probe < capacity_; ++probe, i = (i + 1) & mask) {
    const uint64_t seen = std::atomic_ref<uint64_t>(slots_[i]).load(std::memory_order_acquire);
    if (seen == key) return true;
    if (seen == 0) return false;
  }
  return false;
}

}  // namespace author

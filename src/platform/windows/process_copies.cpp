// Windows cannot copy a running program: nothing here is ever used (kCanCopyProcess is
// false), and each function says it is not available.
#include <cstdlib>

#include "platform/port.h"

namespace platform {

void* takeSharedMemory(size_t) { return nullptr; }

void releaseSharedMemory(void*, size_t) {}

Pipe::Pipe() {}

Pipe::~Pipe() {}

void Pipe::closeReading() {}

void Pipe::closeWriting() {}

bool Pipe::put(const void*, size_t) { return false; }

long Pipe::take(void*, size_t, bool) { return -1; }

int Pipe::awaitAny(std::span<Pipe* const>) { return -1; }

long copyProcess() { return -1; }

std::optional<CopyEnd> awaitCopy(long) { return std::nullopt; }

void endCopy() { std::_Exit(0); }

}  // namespace platform

// Linux: a window of its own, threads, copies of the running program (fork), and the error
// box drawn by the program (the system has no box that shows Japanese for certain).
#include <malloc.h>

#include "platform/port.h"

namespace platform {

const bool kHasThreads = true;
const bool kWindowIsCanvas = false;
const bool kCanCopyProcess = true;
const bool kOwnErrorBox = true;

std::optional<int> askOutsideTheWindow(const SystemBox&) { return std::nullopt; }

// A window of its own: its text reaches screen readers through speech.
void publishPage(const std::string&) {}
void publishMenu(const std::string&, const std::vector<LabelText>&) {}

void returnFreedMemory() { malloc_trim(0); }

void awaitFile(const std::filesystem::path&) {}  // the game folder is on the disk

}  // namespace platform

// Windows: a window of its own, threads (but no copies of the running program), and the
// system's own boxes.
#include "platform/port.h"

namespace platform {

const bool kHasThreads = true;
const bool kWindowIsCanvas = false;
const bool kCanCopyProcess = false;
const bool kOwnErrorBox = false;

std::optional<int> askOutsideTheWindow(const SystemBox&) { return std::nullopt; }

// A window of its own: its text reaches screen readers through speech.
void publishPage(const std::string&) {}
void publishMenu(const std::string&, const std::vector<LabelText>&) {}

void returnFreedMemory() {}  // the heap gives back large blocks itself
void preloadForWindow() {}   // linked into the program
void preloadLibraries(bool, bool) {}

void awaitFile(const std::filesystem::path&) {}  // the game folder is on the disk

}  // namespace platform

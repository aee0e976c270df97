#include "platform/port.h"

namespace platform {

void prepareInstruments(std::span<const uint8_t>) {}  // the synthesiser's files are installed

}  // namespace platform

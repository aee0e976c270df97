#pragma once
// Makes ready what the MIDI synthesiser needs to play a piece, before it is loaded: the
// browser build fetches the instruments the piece plays; elsewhere they are all at hand.
#include <cstdint>
#include <span>

namespace platform {

void prepareInstruments(std::span<const uint8_t> smf);

}  // namespace platform

#pragma once
// The playing time of a Standard MIDI File, read from its own timing: the music
// device decides from it when a piece has stopped, since the synthesiser keeps
// sounding for a while after the last event.
#include <cstdint>
#include <optional>
#include <span>

namespace formats {

// Milliseconds from the start of the piece to the last event of any track (the
// end-of-track events included), rounded up. nullopt when the bytes are not a
// complete format 0 or 1 file, or when the length exceeds 2^31 - 1 ms.
std::optional<uint32_t> midiLengthMs(std::span<const uint8_t> smf);

}  // namespace formats

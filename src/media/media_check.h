#pragma once
// Whether a picture, piece of music or sound that the script names can be used: looked up
// in the game folder by the player's own rules and decoded as the player decodes it. The
// checker reports every name that cannot; a run says it once on standard error.
#include <optional>
#include <string>

#include "engine/text.h"
#include "platform/file_lookup.h"

namespace media {

enum class MediaKind { Picture, Music, Sound };

// The extension the player adds to a name of this kind: ".szg", ".MID", ".wav".
engine::TextView mediaExtension(MediaKind kind);
// "picture", "music", "sound".
const char* mediaKindName(MediaKind kind);

// Nothing when the file is there and decodes; else one line that names the kind, the
// name and the path tried, such as: picture "room1": no file /games/a/room1.szg.
std::optional<std::string> mediaProblem(const platform::GameFolder& folder, MediaKind kind,
                                        engine::TextView name);

}  // namespace media

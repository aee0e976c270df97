#include "media/media_check.h"

#include "formats/midi_length.h"
#include "formats/picture_loader.h"
#include "formats/wave_length.h"
#include "platform/file_bytes.h"
#include "platform/text_codec.h"

namespace media {

engine::TextView mediaExtension(MediaKind kind) {
  switch (kind) {
    case MediaKind::Picture:
      return U".szg";
    case MediaKind::Music:
      return U".MID";
    case MediaKind::Sound:
      break;
  }
  return U".wav";
}

const char* mediaKindName(MediaKind kind) {
  switch (kind) {
    case MediaKind::Picture:
      return "picture";
    case MediaKind::Music:
      return "music";
    case MediaKind::Sound:
      break;
  }
  return "sound";
}

namespace {

/* Whether the file decodes; for a picture, why not in `problem`. */
bool decodes(MediaKind kind, const std::filesystem::path& file, std::string& problem) {
  if (kind == MediaKind::Picture) return formats::loadPicture(file, &problem).has_value();
  const size_t limit =
      kind == MediaKind::Music ? platform::kMaxMusicFileBytes : platform::kMaxWaveFileBytes;
  const auto bytes = platform::readFileBytes(file, limit);
  if (!bytes) return false;
  return (kind == MediaKind::Music ? formats::midiLengthMs(*bytes) : formats::waveLengthMs(*bytes))
      .has_value();
}

}  // namespace

std::optional<std::string> mediaProblem(const platform::GameFolder& folder, MediaKind kind,
                                        engine::TextView name) {
  const std::u32string file = std::u32string(name) + std::u32string(mediaExtension(kind));
  const std::string what = std::string(mediaKindName(kind)) + " \"" + platform::toUtf8(name) + "\"";
  const auto found = folder.find(name, mediaExtension(kind));
  if (!found) {
    std::u32string tried = file;
    for (char32_t& c : tried)
      if (c == U'\\') c = U'/';
    std::error_code ec;
    std::filesystem::path base = std::filesystem::absolute(folder.path(), ec);
    if (ec) base = folder.path();
    return what + ": no file " + (base / platform::toUtf8(tried)).lexically_normal().string() +
           " (the name matches in any case)";
  }
  std::string problem;
  if (!decodes(kind, *found, problem))
    return what + ": " + found->string() + " cannot be decoded as a " +
           (kind == MediaKind::Picture ? "picture"
            : kind == MediaKind::Music ? "MIDI file"
                                       : "wave file") +
           (problem.empty() ? "" : ": " + problem);
  return std::nullopt;
}

}  // namespace media

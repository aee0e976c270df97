#include "ui/settings.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/file_bytes.h"
#include "record/json.h"

namespace ui {

Settings readSettings(const std::filesystem::path& file) {
  Settings s;
  std::ifstream in(file, std::ios::binary);
  if (!in) return s;
  std::stringstream text;
  text << in.rdbuf();
  const record::Json j = record::Json::parse(text.str(), nullptr, false);
  if (!j.is_object()) return s;
  if (j.contains("volume") && j["volume"].is_number_integer())
    s.volume = std::clamp(j["volume"].get<int>() / 10 * 10, 0, 100);
  if (j.contains("sound-volume") && j["sound-volume"].is_number_integer())
    s.soundVolume = std::clamp(j["sound-volume"].get<int>() / 10 * 10, 0, 100);
  if (j.contains("muted") && j["muted"].is_boolean()) s.muted = j["muted"].get<bool>();
  if (j.contains("fullscreen") && j["fullscreen"].is_boolean())
    s.fullscreen = j["fullscreen"].get<bool>();
  if (j.contains("text-speed") && j["text-speed"].is_number_integer())
    s.textSpeed = std::clamp(j["text-speed"].get<int>(), 0, Settings::kTextSpeeds - 1);
  if (j.contains("read-aloud") && j["read-aloud"].is_boolean())
    s.readAloud = j["read-aloud"].get<bool>();
  if (j.contains("copy-text") && j["copy-text"].is_boolean())
    s.copyText = j["copy-text"].get<bool>();
  return s;
}

bool writeSettings(const std::filesystem::path& file, const Settings& s) {
  return platform::writeFileWhole(file, record::jsonLine({{"volume", s.volume},
                                                          {"sound-volume", s.soundVolume},
                                                          {"muted", s.muted},
                                                          {"fullscreen", s.fullscreen},
                                                          {"text-speed", s.textSpeed},
                                                          {"read-aloud", s.readAloud},
                                                          {"copy-text", s.copyText}}) +
                                            "\n");
}

}  // namespace ui

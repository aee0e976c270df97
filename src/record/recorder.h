#pragma once
// The record of a run: the trace (one JSON object per line, each with its kind, time and
// line) and the numbered snapshots of the window. Recording is off unless a stream or a
// folder was given. A record that cannot be written (a full disk, a folder that takes no
// file, a trace past its limits) is said in one line: a headless run then ends with exit
// status 2, since its record is what its reader checks; a window run plays on without it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "formats/image.h"
#include "record/json.h"

namespace record {

// Limits of a trace: far beyond any real run, so a runaway one ends clearly instead of
// filling the disk.
inline constexpr uint64_t kMaxTraceBytes = uint64_t{2} << 30;
inline constexpr size_t kMaxTraceLineBytes = size_t{4} << 20;

// What a failure to record does.
struct OnRecordFailure {
  bool endsRun = false;                 // throw a FatalError with status 2
  std::string traceName = "the trace";  // how messages name the trace
};

class Recorder {
 public:
  // Where an event happens: milliseconds since the start and the current script line.
  struct Stamp {
    uint32_t t = 0;
    int line = 0;
  };
  // What a failure to record does.
  struct OnFailure {
    bool endsRun = false;                 // throw a FatalError with status 2
    std::string traceName = "the trace";  // how messages name the trace
  };

  // Records nothing.
  Recorder() = default;
  // `trace` may be null (no trace); `shots` may be empty (no snapshots).
  Recorder(std::ostream* trace, std::filesystem::path shots, std::function<Stamp()> stamp,
           OnRecordFailure onFailure = {});

  // Where events happen from now on.
  void setStamp(std::function<Stamp()> stamp) { stamp_ = std::move(stamp); }
  // While muted (a saved game being replayed) nothing is recorded.
  void setMuted(bool muted) { muted_ = muted; }

  // Whether events are written now (so that what only goes into them need not be made).
  bool recording() const { return trace_ && !muted_ && !traceFailed_; }
  // Writes {"ev":kind,"t":...,"line":...} followed by the fields' keys.
  void record(std::string_view kind, const Json& fields = Json::object());
  // Saves the frame as the next numbered picture (0001.png, 0002.png, ...).
  void snapshot(const formats::Image& frame);

 private:
  void failed(bool& said, const std::string& what);

  std::ostream* trace_ = nullptr;
  std::filesystem::path shots_;
  std::function<Stamp()> stamp_;
  OnRecordFailure onFailure_;
  uint64_t written_ = 0;
  int snapshots_ = 0;
  bool muted_ = false;
  bool traceFailed_ = false, shotFailed_ = false;
};

}  // namespace record

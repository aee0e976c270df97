#include "platform/recorder.h"

#include <cstdio>
#include <iostream>

#include "platform/png_writer.h"

namespace platform {

Recorder::Recorder(std::ostream* trace, std::filesystem::path shots, std::function<Stamp()> stamp)
    : trace_(trace), shots_(std::move(shots)), stamp_(std::move(stamp)) {}

void Recorder::record(std::string_view kind, const Json& fields) {
  if (!trace_ || muted_) return;
  const Stamp at = stamp_ ? stamp_() : Stamp{};
  Json event{{"ev", kind}, {"t", at.t}, {"line", at.line}};
  for (const auto& [key, value] : fields.items()) event[key] = value;
  *trace_ << jsonLine(event) << '\n';
  trace_->flush();
  if (!*trace_) failed(traceFailed_, "cannot write the trace");
}

void Recorder::snapshot(const Image& frame) {
  if (shots_.empty() || muted_) return;
  char name[16];
  std::snprintf(name, sizeof name, "%04d.png", ++snapshots_);
  const std::filesystem::path file = shots_ / name;
  if (!savePng(frame, file)) failed(shotFailed_, "cannot save the snapshot " + file.string());
}

void Recorder::failed(bool& said, const std::string& what) {
  if (said) return;
  said = true;
  std::cerr << "torami: " << what << std::endl;
}

}  // namespace platform

#include "record/recorder.h"

#include <cstdio>
#include <iostream>

#include "engine/run_end.h"
#include "formats/png_writer.h"

namespace record {

Recorder::Recorder(std::ostream* trace, std::filesystem::path shots, std::function<Stamp()> stamp,
                   OnRecordFailure onFailure)
    : trace_(trace),
      shots_(std::move(shots)),
      stamp_(std::move(stamp)),
      onFailure_(std::move(onFailure)) {}

/* A trace that failed once is not written any more: its reader could not trust it. */
void Recorder::record(std::string_view kind, const Json& fields) {
  if (!trace_ || muted_ || traceFailed_) return;
  const Stamp at = stamp_ ? stamp_() : Stamp{};
  Json event{{"ev", kind}, {"t", at.t}, {"line", at.line}};
  for (const auto& [key, value] : fields.items()) event[key] = value;
  const std::string line = jsonLine(event);
  if (line.size() > kMaxTraceLineBytes)
    return failed(traceFailed_, "cannot write " + onFailure_.traceName + ": a \"" +
                                    std::string(kind) + "\" event of " +
                                    std::to_string(line.size() >> 20) + " MB is longer than " +
                                    std::to_string(kMaxTraceLineBytes >> 20) + " MB");
  written_ += line.size() + 1;
  if (written_ > kMaxTraceBytes)
    return failed(traceFailed_, "cannot write " + onFailure_.traceName + ": it passed " +
                                    std::to_string(kMaxTraceBytes >> 30) + " GB");
  *trace_ << line << '\n';
  trace_->flush();
  if (!*trace_) failed(traceFailed_, "cannot write " + onFailure_.traceName);
}

void Recorder::snapshot(const formats::Image& frame) {
  if (shots_.empty() || muted_) return;
  char name[16];
  std::snprintf(name, sizeof name, "%04d.png", ++snapshots_);
  const std::filesystem::path file = shots_ / name;
  if (!formats::savePng(frame, file))
    failed(shotFailed_, "cannot save the snapshot " + file.string());
}

void Recorder::failed(bool& said, const std::string& what) {
  if (said) return;
  said = true;
  if (onFailure_.endsRun) throw engine::FatalError(engine::kExitUsage, what);
  std::cerr << "torami: " << what << std::endl;
}

}  // namespace record

// The recorder: each event carries its kind, time and line before its own keys; nothing is
// recorded when off; a trace or snapshot that cannot be written is said once.
#include "record/recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "engine/run_end.h"

namespace {

using record::Json;
using record::Recorder;

TEST(Recorder, EventsStartWithKindTimeAndLineAndKeepTheirKeysInOrder) {
  std::ostringstream out;
  Recorder::Stamp at{1240, 21};
  Recorder recorder(&out, {}, [&] { return at; });
  recorder.record("music-restart");
  at = {4294967295u, -3};
  recorder.record("pick", {{"z", 1}, {"a", Json::array({true, nullptr, "「あ」\r"})}});
  EXPECT_EQ(
      out.str(),
      "{\"ev\":\"music-restart\",\"t\":1240,\"line\":21}\n"
      "{\"ev\":\"pick\",\"t\":4294967295,\"line\":-3,\"z\":1,\"a\":[true,null,\"「あ」\\r\"]}\n");
}

TEST(Recorder, FailuresAreSaidOnceAndRecordingGoesOn) {
  const struct {
    const char* what;
    bool badStream;
    bool badFolder;
    const char* said;
  } cases[] = {
      {"trace", true, false, "torami: cannot write the trace\n"},
      {"snapshot", false, true, "torami: cannot save the snapshot "},
      {"nothing to record", false, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ostringstream out;
    if (c.badStream) out.setstate(std::ios::badbit);
    const std::filesystem::path folder =
        c.badFolder ? std::filesystem::path("/nonexistent/torami-shots") : std::filesystem::path();
    Recorder recorder(c.badStream ? &out : nullptr, folder, {});
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
      recorder.record("wait");
      recorder.snapshot(formats::Image(4, 4));
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind(c.said, 0), 0u) << said;
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
}

/* A headless run ends at the first record it cannot write, with one message for main to
   say; a trace line past its limit is such a record too. */
TEST(Recorder, FailuresEndTheRunWhenAsked) {
  const std::string huge(record::kMaxTraceLineBytes, 'x');
  const struct {
    const char* what;
    bool badStream;
    bool badFolder;
    std::string caption;
    const char* said;
  } cases[] = {
      {"trace", true, false, "", "cannot write the trace file t.jsonl"},
      {"snapshot", false, true, "", "cannot save the snapshot /nonexistent/torami-shots/0001.png"},
      {"line past its limit", false, false, huge,
       "cannot write the trace file t.jsonl: a \"wait\" event of 4 MB is longer than 4 MB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ostringstream out;
    if (c.badStream) out.setstate(std::ios::badbit);
    Recorder recorder(&out, c.badFolder ? "/nonexistent/torami-shots" : "", {},
                      {true, "the trace file t.jsonl"});
    try {
      recorder.record("wait", {{"lbhg", c.caption}});
      recorder.snapshot(formats::Image(4, 4));
      ADD_FAILURE() << "the run went on";
    } catch (const engine::FatalError& e) {
      EXPECT_EQ(e.status(), engine::kExitUsage);
      EXPECT_EQ(std::string(e.what()), c.said);
    }
  }
}

}  // namespace

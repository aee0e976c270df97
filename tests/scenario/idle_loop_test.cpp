// A window lets a script that loops without changing anything sleep until input. Here the
// rule runs on the virtual clock: it must rest only in loops that go round alike, and a
// resting loop must still see the input that ends it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "backends/headless/headless_backend.h"
#include "engine/run_end.h"
#include "record/input_script.h"
#include "support/scenario.h"
#include "ui/acs.h"

namespace {

class CountingBackend : public backends::HeadlessBackend {
 public:
  using HeadlessBackend::HeadlessBackend;
  void wait(gui::Wait why, std::optional<uint32_t> deadline) override {
    idleRests += why == gui::Wait::Idle;
    HeadlessBackend::wait(why, deadline);
  }
  int idleRests = 0;
};

struct IdleCase {
  const char* what;
  const char* script;
  const char* input;
  int status;
  bool rests;
  int flag1;  // flag 1 at the end, or -1
};

TEST(IdleLoop, RestsOnlyInLoopsThatGoRoundAlike) {
  const IdleCase cases[] = {
      {"a loop that counts never rests", "INC,1,99\nIF,F01=99,1\nEXIT\n", "", 0, false, 99},
      {"a counter that wraps goes round alike only after many passes", "INC,1,3,L\nGOTO,1\n", "", 3,
       true, -1},
      {"a polling loop rests and the chance double click ends it",
       "LET,1,99\nDO\nIF,F10^99,5\nLOOP,2\nEXIT\n", "at 5000 chance\n", 0, true, 99},
      {"a loop that shows something never rests", "LET,1,5\nLBHGV,0,F01\nGOTO,2\n", "", 3, false,
       5},
      {"a resting loop without input ends as out of input", "LET,1,7\nGOTO,1\n", "", 3, true, 7},
  };
  for (const IdleCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto folder = testing_support::scenarioFolder("IdleLoop");
    testing_support::writeScript(folder, c.script);
    CountingBackend backend(record::parseInputScript(c.input, "input"));
    std::ostringstream trace;
    ui::Options o;
    o.gameFolder = folder;
    o.trace = &trace;
    o.maxSteps = 300000;
    o.sleepsWhenIdle = true;
    int status = -1;
    try {
      status = ui::Acs(backend, o).run();
    } catch (const engine::ProgramExit& e) {
      status = e.status();
    }
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(backend.idleRests > 0, c.rests) << backend.idleRests;
    if (c.flag1 < 0) continue;
    std::istringstream lines(trace.str());
    const auto events = testing_support::traceEvents(lines);
    const auto last =
        std::find_if(events.rbegin(), events.rend(),
                     [](const testing_support::JsonValue& e) { return e.has("flags"); });
    ASSERT_NE(last, events.rend()) << "an event with the flags";
    EXPECT_EQ((*last)["flags"][1].integer(), c.flag1);
  }
}

}  // namespace

// The parts of the explorer below the report: messages through a pipe in any pieces, runs
// and their results as bytes (and bytes that are none), the order of runs (a result put in
// in turn, whatever it met while played ahead of its turn), the keys shared with workers,
// and the progress line.
#include <gtest/gtest.h>

#include <sstream>

#include "author/explore_order.h"
#include "author/explore_progress.h"
#include "author/message_frames.h"
#include "author/run_records.h"
#include "author/shared_keys.h"

namespace {

using author::RunResult;
using author::RunStep;
using author::RunTask;
using record::InputAction;

InputAction pick(int n) {
  InputAction a;
  a.kind = InputAction::Pick;
  a.n = n;
  return a;
}

// A state met by a run: with `ways` picks as its ways, or known before (ways < 0).
RunStep step(uint64_t key, int ways, std::vector<int> lines = {}) {
  RunStep s;
  s.key = key;
  s.known = ways < 0;
  s.wait.line = static_cast<int>(key);
  s.wait.kind = gui::WaitKind::Menu;
  for (int w = 0; w < ways; ++w) s.wait.ways.push_back({pick(w), "見る" + std::to_string(w)});
  s.lines = std::move(lines);
  return s;
}

RunResult ended(long index, std::vector<RunStep> steps, engine::EndReason reason, int line) {
  RunResult r;
  r.index = index;
  r.steps = std::move(steps);
  r.end = RunResult::End::Outcome;
  r.outcome.kind = author::Outcome::Ending;
  r.outcome.reason = reason;
  r.outcome.line = line;
  return r;
}

RunResult atLastStep(long index, std::vector<RunStep> steps) {
  RunResult r;
  r.index = index;
  r.steps = std::move(steps);
  r.end = RunResult::End::AtLastStep;
  return r;
}

TEST(MessageFrames, MessagesComeWholeHoweverTheBytesArePieced) {
  const std::vector<std::string> messages = {"", "a", std::string(70000, 'x'), "終わり"};
  std::string stream;
  for (const auto& m : messages) stream += author::framed(m);
  for (size_t piece : {size_t{1}, size_t{3}, size_t{4096}, stream.size()}) {
    author::MessageReader reader;
    std::vector<std::string> got;
    for (size_t at = 0; at < stream.size(); at += piece)
      EXPECT_TRUE(reader.feed(std::string_view(stream).substr(at, piece),
                              [&](std::string_view m) { got.emplace_back(m); }));
    EXPECT_EQ(got, messages) << piece;
    EXPECT_FALSE(reader.midway()) << piece;
  }
}

TEST(MessageFrames, AMessageLongerThanAnyIsRefused) {
  author::MessageReader reader;
  const std::string head = author::framed(std::string(8, 'x')).substr(0, 4);
  std::string huge(4, '\xff');  // 4 GiB
  EXPECT_FALSE(reader.feed(huge, [](std::string_view) { ADD_FAILURE(); }));
  EXPECT_FALSE(reader.feed(head, [](std::string_view) { ADD_FAILURE(); }));  // and stays so
}

TEST(RunRecords, ATaskAndAResultComeBackAsTheyWent) {
  RunTask task;
  task.index = 41;
  task.path = {pick(2), pick(0)};
  task.path[1].kind = InputAction::Heading;
  task.expected = 0xfeedbeefcafef00dULL;
  task.way = 3;
  task.action = pick(3);
  const auto back = author::readTask(author::taskRecord(task));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->index, 41);
  EXPECT_EQ(back->expected, task.expected);
  EXPECT_EQ(back->way, 3);
  ASSERT_EQ(back->path.size(), 2u);
  EXPECT_EQ(back->path[0].n, 2);
  EXPECT_EQ(back->path[1].kind, InputAction::Heading);

  RunResult result = ended(7, {step(5, 2, {3, 4}), step(9, -1)}, engine::EndReason::Exit, 12);
  result.outcome.kind = author::Outcome::Error;
  result.outcome.text = "範囲外( 12) / <LET> & \"40\"";
  result.outcome.jumpLine = 8;
  result.endLines = {10, 11, 12};
  const auto again = author::readResult(author::resultRecord(result));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->index, 7);
  ASSERT_EQ(again->steps.size(), 2u);
  EXPECT_EQ(again->steps[0].wait.ways[1].caption, "見る1");
  EXPECT_EQ(again->steps[0].lines, (std::vector<int>{3, 4}));
  EXPECT_TRUE(again->steps[1].known);
  EXPECT_EQ(again->outcome.text, result.outcome.text);
  EXPECT_EQ(again->outcome.jumpLine, 8);
  EXPECT_EQ(again->endLines, result.endLines);
}

// Every piece of a record short of the whole is no record, nor is more than it.
TEST(RunRecords, BytesCutShortOrTooManyAreNoRecord) {
  const std::string result =
      author::resultRecord(ended(1, {step(5, 2, {3}), step(6, -1)}, engine::EndReason::Eof, 4));
  for (size_t n = 0; n < result.size(); ++n)
    EXPECT_FALSE(author::readResult(result.substr(0, n))) << n;
  EXPECT_FALSE(author::readResult(result + "x"));
  RunTask t;
  t.path = {pick(1)};
  const std::string task = author::taskRecord(t);
  for (size_t n = 0; n < task.size(); ++n) EXPECT_FALSE(author::readTask(task.substr(0, n))) << n;
  std::string badEnd = result;
  badEnd[8] = 9;  // no such end
  EXPECT_FALSE(author::readResult(badEnd));
}

TEST(RunOrder, RunsComeInTheOrderOnePlayerPlaysThem) {
  author::Exploration found;
  author::RunOrder order(100, found);
  const auto first = order.next();
  ASSERT_TRUE(first);
  EXPECT_FALSE(first->expected);
  EXPECT_FALSE(order.next());  // nothing more is known before the first run is in
  // The first run finds A (three ways), takes its first way to B (one way) and ends.
  EXPECT_EQ(order.put(ended(0, {step(1, 3, {1, 2}), step(2, 1, {5})}, engine::EndReason::Eof, 9)),
            (std::vector<uint64_t>{1, 2}));
  // Then A's other ways, each from A's path (the start), then none from B.
  const auto second = order.next(), third = order.next();
  ASSERT_TRUE(second && third);
  EXPECT_EQ(second->expected, 1u);
  EXPECT_EQ(second->way, 1);
  EXPECT_TRUE(second->path.empty());
  EXPECT_EQ(third->way, 2);
  EXPECT_FALSE(order.next());
  /* Both are played at once, and both meet a new state C: the earlier run in turn finds it,
     the later one ends there, whatever it met after it. */
  EXPECT_EQ(order.put(atLastStep(1, {step(3, 2), step(1, -1)})), (std::vector<uint64_t>{3}));
  EXPECT_EQ(order.put(ended(2, {step(3, 2), step(4, 1, {7})}, engine::EndReason::Exit, 7)),
            (std::vector<uint64_t>{}));
  const auto fromC = order.next();
  ASSERT_TRUE(fromC);
  EXPECT_EQ(fromC->expected, 3u);
  ASSERT_EQ(fromC->path.size(), 1u);  // C was found by A's way 1
  EXPECT_EQ(fromC->path[0].n, 1);
  EXPECT_EQ(found.graph.states(), 3);
  EXPECT_EQ(found.runs, 3);
  EXPECT_EQ(found.ran[5], 1);
  EXPECT_EQ(found.ran[7], 0);
  EXPECT_FALSE(order.done());
  order.put(atLastStep(3, {step(2, -1)}));
  EXPECT_TRUE(order.done());
}

TEST(RunOrder, AReplayThatGoesAnotherWayEndsTheRunsFromItsState) {
  author::Exploration found;
  author::RunOrder order(100, found);
  order.next();
  order.put(ended(0, {step(1, 3)}, engine::EndReason::Eof, 9));
  const auto a = order.next(), b = order.next();
  ASSERT_TRUE(a && b);
  RunResult diverged;
  diverged.index = a->index;
  diverged.end = RunResult::End::Diverged;
  order.put(diverged);
  order.put(ended(b->index, {step(5, 1)}, engine::EndReason::Eof, 9));  // not played after all
  EXPECT_EQ(found.runs, 2);
  EXPECT_EQ(found.graph.states(), 1);
  EXPECT_EQ(found.graph.lost(), 1);
  EXPECT_TRUE(order.done());
}

TEST(RunOrder, TheLimitOfStatesStopsTheRunsAfterIt) {
  author::Exploration found;
  author::RunOrder order(2, found);
  order.next();
  order.put(ended(0, {step(1, 2), step(2, 2)}, engine::EndReason::Eof, 9));
  const auto next = order.next();
  ASSERT_TRUE(next);
  EXPECT_TRUE(order.put(ended(next->index, {step(3, 1)}, engine::EndReason::Eof, 9)).empty());
  EXPECT_TRUE(found.stopped);
  EXPECT_EQ(found.graph.states(), 2);
  EXPECT_FALSE(order.next());
  EXPECT_TRUE(order.done());
}

TEST(SharedKeys, AKeyAddedIsFoundAndNoOtherIs) {
  author::SharedKeys keys(100);
  if (!keys.isOpen()) GTEST_SKIP() << "no shared memory on this system";
  int added = 0;
  for (uint64_t k = 0; k < 3000; ++k) added += keys.add(k * 7919);
  EXPECT_GT(added, 200);
  EXPECT_LT(added, 3000);  // it fills up, and says so
  for (uint64_t k = 0; k < 3000; ++k) {
    if (keys.has(k * 7919)) {
      EXPECT_TRUE(keys.add(k * 7919));  // adding again changes nothing
    }
  }
  EXPECT_TRUE(keys.has(0));
  EXPECT_FALSE(keys.has(7919 * 3001 + 1));
}

TEST(Progress, SaysNothingInTheFirstSecondThenAtItsPace) {
  struct Case {
    const char* what;
    bool inPlace;
    std::vector<double> updates;  // seconds, each with 100 states more
    double finish;
    std::string said;
  } cases[] = {
      {"done within a second", false, {0.2, 0.5, 0.9}, 0.95, ""},
      {"done within a second on a terminal", true, {0.2, 0.9}, 0.95, ""},
      {"a line every few seconds",
       false,
       {0.5, 1.25, 2.0, 4.5, 5.0},
       5.5,
       "exploring: 200 states, 160 states per second\n"
       "exploring: 400 states, 88 states per second\n"},
      {"one line rewritten",
       true,
       {1.0, 1.1, 2.0},
       2.5,
       "\rexploring: 100 states, 100 states per second   "
       "\rexploring: 300 states, 150 states per second   "
       "\rexploring: 300 states, 120 states per second   \n"},
  };
  for (const Case& c : cases) {
    double now = 0;
    std::ostringstream out;
    author::Progress progress(&out, c.inPlace, [&] { return now; });
    long states = 0;
    for (double t : c.updates) {
      now = t;
      progress.update(states += 100);
    }
    now = c.finish;
    progress.finish(states);
    EXPECT_EQ(out.str(), c.said) << c.what;
  }
}

}  // namespace

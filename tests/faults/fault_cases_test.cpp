// Faults found at the edges of the program, each run the way a user meets it: the torami
// executable on a game folder, with its exit status, its standard error and its trace.
// Files too big for their purpose, input files that never end or are folders, records
// that cannot be written, times past 2^31, waves the mixer cannot convert, and what the
// libraries would say for themselves.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "support/picture_bytes.h"
#include "support/program_run.h"
#include "support/scenario.h"
#include "unit/audio_fixtures.h"

namespace {

namespace fs = std::filesystem;
using testing_support::linesOf;
using testing_support::readFile;
using testing_support::runTorami;
using namespace picture_bytes;

std::string waveAt(uint32_t rate, size_t dataBytes) {
  const auto bytes = audio_test::waveFile({1, 1, rate, 16}, audio_test::Bytes(dataBytes, 0));
  return std::string(bytes.begin(), bytes.end());
}

struct FaultCase {
  const char* what;
  std::string script;                                      // TORAMI.acs, in UTF-8 with LF line ends
  std::vector<std::pair<std::string, std::string>> files;  // more files of the game folder
  std::string input;                                       // input.txt of the folder
  // The command line; {} stands for the game folder. Empty: a headless run of the folder
  // with input.txt and the trace in trace.jsonl.
  std::vector<std::string> args;
  int status;
  std::string said;      // standard error is one line of ours with this in it; empty: nothing
  std::string traceHas;  // a piece of the trace
};

std::string withFolder(const std::string& arg, const fs::path& folder) {
  std::string out = arg;
  for (size_t at; (at = out.find("{}")) != std::string::npos;) out.replace(at, 2, folder.string());
  return out;
}

TEST(FaultCases, EachEndsClearlyWithBoundedMemory) {
  const std::string twelveMegabytes(12 << 20, 'x');
  std::string brokenPng = png(2, 2, kTwoByTwo);
  brokenPng[brokenPng.find("IDAT") + 4] = 0x55;  // not a zlib stream
  const FaultCase cases[] = {
      {"a 54-byte BMP claiming 30000 x 17896",
       "GHG,big\nEXIT\n",
       {{"big.szg", bmp(30000, 17896)}},
       "",
       {},
       0,
       "30000 x 17896",
       "\"name\":\"big\",\"ok\":false"},
      {"a GIF claiming 65535 x 65535",
       "GHG,big\nEXIT\n",
       {{"big.szg", gif(65535, 65535)}},
       "",
       {},
       0,
       "65535 x 65535",
       "\"name\":\"big\",\"ok\":false"},
      {"a PNG of 20000 x 20000",
       "GHG,big\nEXIT\n",
       {{"big.szg", png(20000, 20000, kTwoByTwo)}},
       "",
       {},
       0,
       "20000 x 20000",
       "\"name\":\"big\",\"ok\":false"},
      {"a PNG 1000000 wide",
       "GHG,big\nEXIT\n",
       {{"big.szg", png(1000000, 1, kTwoByTwo)}},
       "",
       {},
       0,
       "1000000 x 1",
       "\"name\":\"big\",\"ok\":false"},
      {"a corrupt PNG: one line of ours, none of the library's",
       "GHG,bad\nEXIT\n",
       {{"bad.szg", brokenPng}},
       "",
       {},
       0,
       "bad.szg",
       "\"name\":\"bad\",\"ok\":false"},
      {"a file name with an overlong UTF-8 form does not stand for the letter",
       "GHG,pA\nEXIT\n",
       {{"p\xc1\x81.szg", png(2, 2)}},
       "",
       {},
       0,
       "no file",
       "\"name\":\"pA\",\"ok\":false"},
      {"a small PNG still shows",
       "GHG,ok\nEXIT\n",
       {{"ok.szg", png(2, 2, kTwoByTwo)}},
       "",
       {},
       0,
       "",
       "\"name\":\"ok\",\"ok\":true"},
      {"--input /dev/zero",
       "EXIT\n",
       {},
       "",
       {"--headless", "--input", "/dev/zero", "{}"},
       2,
       "/dev/zero",
       ""},
      {"--input naming a folder",
       "EXIT\n",
       {},
       "",
       {"--headless", "--input", "{}", "{}"},
       2,
       "is a folder",
       ""},
      {"an unparsable 12 MB input line", "EXIT\n", {}, twelveMegabytes, {}, 2, "input.txt:1:", ""},
      {"--trace on a full disk",
       "EXIT\n",
       {},
       "",
       {"--headless", "--trace", "/dev/full", "{}"},
       2,
       "/dev/full",
       ""},
      {"--shots where a shot cannot be written",
       "MES,あ￥\nEXIT\n",
       {{"shots/0001.png/x", ""}},
       "click\n",
       {"--headless", "--trace", "{}/trace.jsonl", "--input", "{}/input.txt", "--shots", "{}/shots",
        "{}"},
       2,
       "0001.png",
       ""},
      {"at T click with T = 2^31",
       "MES,あ￥\nEXIT\n",
       {},
       "at 2147483648 click\n",
       {},
       0,
       "",
       "\"ev\":\"end\",\"t\":2147483648"},
      {"at T click with T = 2^32 - 1",
       "MES,あ￥\nEXIT\n",
       {},
       "at 4294967295 click\n",
       {},
       0,
       "",
       "\"ev\":\"end\",\"t\":4294967295"},
      {"at T click with T = 2^32",
       "MES,あ￥\nEXIT\n",
       {},
       "at 4294967296 click\n",
       {},
       2,
       "input.txt:1:",
       ""},
      {"a wave at 1 sample per second",
       "SOUND,slow,2\nEXIT\n",
       {{"slow.wav", waveAt(1, 114660 - 44)}},
       "",
       {},
       0,
       "cannot be decoded as a wave file",
       "\"name\":\"slow\",\"flags\":2,\"ok\":false"},
      {"a wave at 8000 samples per second still plays",
       "SOUND,fine,2\nEXIT\n",
       {{"fine.wav", waveAt(8000, 1600)}},
       "",
       {},
       0,
       "",
       "\"name\":\"fine\",\"flags\":2,\"ok\":true"},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path folder = testing_support::scenarioFolder("FaultCases");
    testing_support::writeScript(folder, c.script);
    for (const auto& [name, bytes] : c.files) {
      fs::create_directories((folder / name).parent_path());
      std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::ofstream(folder / "input.txt", std::ios::binary) << c.input;
    std::vector<std::string> args = c.args;
    if (args.empty())
      args = {"--headless", "--input", "{}/input.txt", "--trace", "{}/trace.jsonl", "{}"};
    for (std::string& a : args) a = withFolder(a, folder);

    const auto run = runTorami(args, {60000, size_t{2} << 30});
    EXPECT_EQ(run.status, c.status) << "standard error: " << run.err.substr(0, 500);
    const auto lines = linesOf(run.err);
    if (c.said.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_EQ(lines.size(), 1u) << run.err.substr(0, 1000);
      const std::string first = lines.empty() ? "" : lines[0];
      EXPECT_EQ(first.rfind("torami: ", 0), 0u) << first.substr(0, 1000);
      EXPECT_NE(first.find(c.said), std::string::npos) << first.substr(0, 1000);
      EXPECT_LE(first.size(), 300u) << first.substr(0, 1000);
    }
    if (!c.traceHas.empty()) {
      EXPECT_NE(readFile(folder / "trace.jsonl").find(c.traceHas), std::string::npos);
    }
  }
}

}  // namespace

#include "author/explore_play.h"

#include "author/checker.h"
#include "engine/state_key.h"
#include "platform/text_codec.h"

namespace author {
namespace {

using record::InputAction;

Way way(InputAction::Kind kind, int n = 0, const std::u32string& caption = {}) {
  Way w;
  w.action.kind = kind;
  w.action.n = n;
  w.caption = platform::toUtf8(caption);
  return w;
}

}  // namespace

ScriptReading readScript(const ExploreOptions& options) {
  std::filesystem::path file = options.scriptFile;
  if (file.empty())
    file = platform::findFile(options.gameFolder, U"TORAMI.acs")
               .value_or(options.gameFolder / "TORAMI.acs");
  CheckOptions o;
  o.media = false;
  const CheckResult check = checkScriptFile(file, platform::GameFolder(options.gameFolder), o);
  ScriptReading r;
  if (check.loaded) r.loaded = std::make_shared<const engine::ScriptStore>(check.script);
  r.lines = check.script.lineCount();
  r.runnable = check.shape.runnable;
  r.runnable.resize(engine::kMaxLines + 1, false);
  r.data = check.shape.data;
  r.data.resize(engine::kMaxLines + 2, false);
  r.decisive = check.shape.decisive;
  r.returnLive = check.shape.returnLive;
  r.returnLive.resize(engine::kMaxLines + 2, true);
  return r;
}

ui::Options runOptions(const ExploreOptions& options, const ScriptReading& script,
                       uint8_t* linesRun, int* landedBy) {
  ui::Options o;
  o.gameFolder = options.gameFolder;
  o.scriptFile = options.scriptFile;
  o.script = script.loaded;
  o.linesRun = linesRun;
  o.landedBy = landedBy;
  o.drawing = false;  // the explorer looks at no pixel
  return o;
}

/* Two moments with the same key go on alike for the same input. The key holds the flags
   that can decide where the game goes, flag 0 while the item menu shows an item (its
   message and entry follow from it), FP's end line while FP shows its entry, the return
   line where a RET can come before the next GOSUB, the menu table and the item messages,
   and what the window holds that decides how the game goes on; nothing that is only shown
   or heard. */
uint64_t stateKey(const ui::Acs& acs, const ScriptReading& script) {
  const engine::State& s = acs.state();
  const int line = s.CurLine;
  const bool inScript = line >= 0 && line <= engine::kMaxLines;
  auto flags = script.decisive;
  flags[0] = flags[0] || acs.controls().LBcm->visible();
  engine::StateKey key;
  key.add(s.CurLine);
  key.add(s.CaseEndLine);
  if (!inScript || script.returnLive[line]) key.add(s.ReturnLine);
  if (inScript && script.data[line]) key.add(s.FpEndLine);
  for (int k = 0; k < engine::kFlagCount; ++k) key.add(flags[k] ? s.flags[k] : 0);
  for (const auto& menu : s.menuTable)
    for (const engine::Text& entry : menu) key.add(entry);
  for (const engine::Text& t : s.ItemMessages) key.add(t);
  acs.appendWindowState(key);
  return std::hash<engine::Text>()(key.text());
}

/* A click wait is answered by a click, a menu wait by each visible, enabled label and the
   heading when it shows; the chance wherever it is offered and not yet taken. */
WaitInfo waitInfo(const ui::Acs& acs) {
  WaitInfo w;
  w.line = acs.state().CurLine;
  w.kind = acs.waitKind();
  const ui::Controls& c = acs.controls();
  if (w.kind == gui::WaitKind::Click) w.ways.push_back(way(InputAction::Click));
  if (w.kind == gui::WaitKind::Menu) {
    for (int i = 0; i < engine::kEntries; ++i)
      if (c.Label1[i]->visible() && c.Label1[i]->enabled())
        w.ways.push_back(way(InputAction::Pick, i, c.Label1[i]->caption()));
    if (c.LBcm->visible()) w.ways.push_back(way(InputAction::Heading, 0, c.LBcm->caption()));
  }
  const auto& flags = acs.state().flags;
  if (flags[engine::kChanceOfferedFlag] == engine::kChanceValue &&
      flags[engine::kChanceTakenFlag] != engine::kChanceValue)
    w.ways.push_back(way(InputAction::Chance));
  return w;
}

Outcome outcomeOf(const ui::Acs& acs, const ExploreBackend& backend, int landedBy) {
  Outcome o;
  const engine::EndReason reason = acs.endReason();
  o.line = acs.state().CurLine;
  if (reason == engine::EndReason::Eof || reason == engine::EndReason::Exit) {
    o.kind = Outcome::Ending;
    o.reason = reason;
    o.flags = acs.state().flags;
  } else if (reason == engine::EndReason::Error) {
    o.kind = Outcome::Error;
    o.text = platform::lineBreaksAsNewlines(backend.error);
    for (size_t p; (p = o.text.find('\n')) != std::string::npos;) o.text.replace(p, 1, " / ");
    o.jumpLine = landedBy;
  }
  return o;
}

}  // namespace author

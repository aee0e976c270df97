#pragma once
// Reading the command menu out of a headless trace: the `menu` value of a wait written
// as one short line, the pick codes, and the lines that ran after a pick.
#include <string>
#include <vector>

#include "support/scenario.h"

namespace menu_trace {

using testing_support::JsonValue;
using testing_support::ScenarioResult;

/* "state heading [caption|caption|...] enabled-mask", e.g.
   "1 コマンド [Talk|Look|Go|||||] 11100000"; "null" when no menu is active. */
inline std::string describe(const JsonValue& menu) {
  if (menu.isNull()) return "null";
  std::string s = std::to_string(menu["state"].integer()) + " " + menu["heading"].str() + " [";
  std::string mask;
  for (size_t i = 0; i < menu["labels"].size(); ++i) {
    s += (i ? "|" : "") + menu["labels"][i].str();
    mask += menu["enabled"][i].boolean() ? '1' : '0';
  }
  return s + "] " + mask;
}

// The menus shown at each menu wait, in order.
inline std::vector<std::string> menuWaits(const ScenarioResult& r) {
  std::vector<std::string> out;
  for (const JsonValue& w : r.all("wait"))
    if (w["kind"].str() == "menu") out.push_back(describe(w["menu"]));
  return out;
}

// The menu as the run left it (the last snapshot, written at the end of every run).
inline std::string endMenu(const ScenarioResult& r) { return describe(r.last("wait")["menu"]); }

inline std::vector<long> picks(const ScenarioResult& r) {
  std::vector<long> out;
  for (const JsonValue& p : r.all("pick")) out.push_back(p["code"].integer());
  return out;
}

// The lines the loop ran after the n-th pick event (needs trace lines), up to the next pick.
inline std::vector<long> linesAfterPick(const ScenarioResult& r, int n = 0) {
  std::vector<long> out;
  int seen = -1;
  for (const JsonValue& e : r.events) {
    const std::string& ev = e["ev"].str();
    if (ev == "pick" && ++seen > n) break;
    if (ev == "line" && seen == n) out.push_back(e["line"].integer());
  }
  return out;
}

using testing_support::flag;

}  // namespace menu_trace

#include "author/explore_map.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "author/map_layout.h"
#include "engine/run_end.h"
#include "platform/text_codec.h"

namespace author {
namespace {

constexpr double kHalfW = kMapPlaceWidth / 2, kHalfH = kMapPlaceHeight / 2;

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 0; color: #222; background: #fafafa; }
header, section { padding: 8px 20px; }
h1 { font-size: 20px; margin: 8px 0; } h2 { font-size: 16px; margin: 16px 0 6px; }
.note { max-width: 70em; color: #444; }
.legend span { display: inline-block; margin-right: 14px; }
.legend i { display: inline-block; width: 14px; height: 10px; border: 1px solid #555;
  margin-right: 4px; vertical-align: middle; }
#map { overflow: auto; border-top: 1px solid #ccc; border-bottom: 1px solid #ccc;
  background: #fff; max-height: 78vh; }
.place rect { stroke: #555; stroke-width: 1; rx: 6; }
.place text { font-size: 12px; text-anchor: middle; pointer-events: none; }
.place { cursor: pointer; }
.start rect { fill: #444; } .start text { fill: #fff; }
.click rect { fill: #fff8d8; } .menu rect { fill: #dceeff; } .poll rect { fill: #eee; }
.ending rect { fill: #c8f0c8; stroke: #282; stroke-width: 3; }
.error rect { fill: #ffd4d4; stroke: #b00; stroke-width: 3; }
.deadend rect { stroke: #e07000; stroke-width: 3; stroke-dasharray: 6 3; }
.move path { fill: none; stroke: #789; stroke-width: 1.2; marker-end: url(#arrow); }
.move.back path { stroke-dasharray: 5 4; stroke: #abc; }
.move.loop text { text-anchor: start; }
.move text { font-size: 10.5px; fill: #235; paint-order: stroke; stroke: #fff;
  stroke-width: 3px; text-anchor: middle; }
.dim { opacity: 0.15; } .on path { stroke: #d04000; stroke-width: 2.4; }
table { border-collapse: collapse; font-size: 13px; }
td, th { border: 1px solid #ccc; padding: 3px 6px; vertical-align: top; text-align: left; }
)";

constexpr const char* kScript = R"(
(function () {
  var svg = document.querySelector('#map svg');
  var w = +svg.getAttribute('width'), h = +svg.getAttribute('height'), scale = 1;
  function zoom(s) { scale = s; svg.setAttribute('width', w * s); svg.setAttribute('height', h * s); }
  document.getElementById('zoomIn').onclick = function () { zoom(scale * 1.25); };
  document.getElementById('zoomOut').onclick = function () { zoom(scale / 1.25); };
  document.getElementById('fit').onclick = function () {
    zoom(Math.min(1, document.getElementById('map').clientWidth / w));
  };
  var chosen = null;
  svg.addEventListener('click', function (e) {
    var g = e.target.closest('.place');
    var id = g && g !== chosen ? g.getAttribute('data-id') : null;
    chosen = id ? g : null;
    svg.querySelectorAll('.place, .move').forEach(function (el) {
      var touches = el.getAttribute('data-id') === id || el.getAttribute('data-from') === id ||
          el.getAttribute('data-to') === id;
      el.classList.toggle('dim', !!id && !touches);
      el.classList.toggle('on', !!id && touches && el.classList.contains('move'));
    });
  });
})();
)";

std::string number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  return buffer;
}

// At most `n` characters of the text, with an ellipsis when cut.
std::string shorten(const std::string& text, size_t n) {
  const std::u32string chars = platform::fromUtf8(text);
  if (chars.size() <= n) return text;
  return platform::toUtf8(chars.substr(0, n - 1)) + "…";
}

// "line 8", or "lines 27-29" for a place that stands for several.
std::string linesText(const MapPlace& p) {
  std::vector<int> lines = p.lines;
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  if (lines.size() > 1) return "lines " + lineRanges(lines);
  return "line " + std::to_string(p.line);
}

// What a place is called in the page's text.
std::string placeName(const MapPlace& p) {
  switch (p.kind) {
    case MapPlace::Start:
      return "start";
    case MapPlace::Wait:
      return linesText(p) + " · " + waitKindText(p.wait);
    case MapPlace::Ending:
      return p.text + " · line " + std::to_string(p.line);
    case MapPlace::Error:
      break;
  }
  return "error · line " + std::to_string(p.line);
}

std::string placeClass(const MapPlace& p) {
  switch (p.kind) {
    case MapPlace::Start:
      return "start";
    case MapPlace::Ending:
      return "ending";
    case MapPlace::Error:
      return "error";
    case MapPlace::Wait:
      break;
  }
  return waitKindText(p.wait) + (p.deadEnd ? " deadend" : "");
}

std::string placeDetail(const MapPlace& p) {
  switch (p.kind) {
    case MapPlace::Wait:
      return std::to_string(p.states) + (p.states == 1 ? " state" : " states") +
             (p.deadEnd ? ", leads nowhere" : "");
    case MapPlace::Ending:
      return "ending";
    case MapPlace::Error:
      return shorten(p.text, 24);
    case MapPlace::Start:
      break;
  }
  return "line 1";
}

void writePlace(std::ostream& out, const MapPlace& p, size_t id) {
  out << "<g class=\"place " << placeClass(p) << "\" data-id=\"" << id << "\"><title>"
      << htmlEscape(placeName(p) + (p.kind == MapPlace::Error ? ": " + p.text : "")) << "</title>"
      << "<rect x=\"" << number(p.x - kHalfW) << "\" y=\"" << number(p.y - kHalfH) << "\" width=\""
      << number(kMapPlaceWidth) << "\" height=\"" << number(kMapPlaceHeight) << "\"/><text x=\""
      << number(p.x) << "\" y=\"" << number(p.y - 4) << "\">" << htmlEscape(placeName(p))
      << "</text><text x=\"" << number(p.x) << "\" y=\"" << number(p.y + 14) << "\">"
      << htmlEscape(placeDetail(p)) << "</text></g>\n";
}

// The labels of a move: each once, with the number of states that take it when more.
std::string moveText(const MapMove& m, const std::string& separator) {
  std::string text;
  for (const auto& [label, count] : m.labels)
    text += (text.empty() ? "" : separator) + label +
            (count > 1 ? " (" + std::to_string(count) + ")" : std::string());
  return text;
}

/* Down the map a curve from the bottom of one place to the top of the other; back up (or
   along a row) a dashed curve round the right of both; a loop on the right of its place. */
void writeMove(std::ostream& out, const MapLayout& m, const MapMove& move) {
  const MapPlace& a = m.places[move.from];
  const MapPlace& b = m.places[move.to];
  const bool down = b.row > a.row;
  std::string path;
  double lx, ly;
  if (move.loop()) {
    const double x = a.x + kHalfW, y = a.y;
    path = "M" + number(x) + "," + number(y - 10) + " C" + number(x + 45) + "," + number(y - 30) +
           " " + number(x + 45) + "," + number(y + 30) + " " + number(x) + "," + number(y + 10);
    lx = x + 48, ly = y + 4;
  } else if (down) {
    // The label sits two thirds of the way, nearer the place it leads to: the moves that
    // fan out of one place keep their labels apart.
    const double y1 = a.y + kHalfH, y2 = b.y - kHalfH, mid = (y1 + y2) / 2;
    path = "M" + number(a.x) + "," + number(y1) + " C" + number(a.x) + "," + number(mid) + " " +
           number(b.x) + "," + number(mid) + " " + number(b.x) + "," + number(y2);
    lx = a.x + (b.x - a.x) * 0.78, ly = mid + (y2 - mid) * 0.45;
  } else {
    const double x1 = a.x + kHalfW, x2 = b.x + kHalfW, bulge = std::max(x1, x2) + 60;
    path = "M" + number(x1) + "," + number(a.y) + " C" + number(bulge) + "," + number(a.y) + " " +
           number(bulge) + "," + number(b.y) + " " + number(x2) + "," + number(b.y);
    lx = bulge - 15, ly = (a.y + b.y) / 2;
  }
  out << "<g class=\"move"
      << (move.loop() ? " loop"
          : down      ? ""
                      : " back")
      << "\" data-from=\"" << move.from << "\" data-to=\"" << move.to << "\"><title>"
      << htmlEscape(placeName(a) + " → " + placeName(b) + ": " + moveText(move, ", "))
      << "</title><path d=\"" << path << "\"/><text x=\"" << number(lx) << "\" y=\"" << number(ly)
      << "\">" << htmlEscape(shorten(moveText(move, ", "), move.loop() ? 16 : 26))
      << "</text></g>\n";
}

void writeSvg(std::ostream& out, const MapLayout& m) {
  out << "<div id=\"map\"><svg width=\"" << number(m.width) << "\" height=\"" << number(m.height)
      << "\" viewBox=\"0 0 " << number(m.width) << " " << number(m.height) << "\">\n"
      << "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
         "markerWidth=\"7\" markerHeight=\"7\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" "
         "fill=\"#789\"/></marker></defs>\n";
  for (const MapMove& move : m.moves) writeMove(out, m, move);
  for (size_t p = 0; p < m.places.size(); ++p) writePlace(out, m.places[p], p);
  out << "</svg></div>\n";
}

void writeHeader(std::ostream& out, const ExploreReport& r, const std::string& title) {
  const std::vector<int> never = linesNeverRun(r);
  int runnable = 0;
  for (int k = 1; k <= r.scriptLines && k < static_cast<int>(r.runnable.size()); ++k)
    runnable += r.runnable[k];
  out << "<header><h1>Map of " << htmlEscape(title) << "</h1>\n<p>" << r.states << " states, "
      << r.edges << " moves; " << r.endings.size() << " endings, " << r.errors.size()
      << " script errors, " << r.deadEnds.size() << " waits from which nothing leads on; "
      << runnable - static_cast<int>(never.size()) << " of " << runnable << " lines ran"
      << (r.complete ? "" : "; the exploration stopped early and is not complete") << ".</p>\n"
      << "<p class=\"note\">How the map is grouped: each box is one script line and one kind of "
         "wait (click, menu or poll) and stands for every state the exploration met there, "
         "with whatever flags; its number says how many. Click waits that follow one another "
         "with no other way in or on (the pages of a scene) share one box. An arrow is a move: the "
         "action "
         "(pick N, heading, click, chance) with the caption the player sees, and in brackets "
         "how many states take it when more than one. Rows count the fewest moves from the "
         "start; dashed arrows lead back up the map or along a row, a loop on a box's right "
         "stays on its line. Click a box to follow its moves.</p>\n"
      << "<div class=\"legend\"><span><i style=\"background:#dceeff\"></i>menu wait</span>"
         "<span><i style=\"background:#fff8d8\"></i>click wait</span>"
         "<span><i style=\"background:#eee\"></i>poll wait</span>"
         "<span><i style=\"background:#c8f0c8;border-color:#282\"></i>ending</span>"
         "<span><i style=\"background:#ffd4d4;border-color:#b00\"></i>script error</span>"
         "<span><i style=\"border:2px dashed #e07000\"></i>leads nowhere</span> "
         "<button id=\"zoomOut\">−</button> <button id=\"zoomIn\">+</button> "
         "<button id=\"fit\">fit</button></div></header>\n";
}

void writeOutcomes(std::ostream& out, const ExploreReport& r) {
  out << "<section><h2>Endings</h2><ul>\n";
  for (const Ending& e : r.endings)
    out << "<li>" << (e.reason == engine::EndReason::Eof ? "EOF" : "EXIT") << " on line " << e.line
        << " after " << e.path.size() << " actions</li>\n";
  out << "</ul><h2>Script errors</h2><ul>\n";
  for (const ReachedError& e : r.errors)
    out << "<li>line " << e.line << ": " << htmlEscape(e.text)
        << (e.jumpLine >= 0 ? " (reached by the jump on line " + std::to_string(e.jumpLine) + ")"
                            : std::string())
        << "</li>\n";
  out << "</ul><h2>Waits from which nothing leads on</h2><ul>\n";
  for (const DeadEnd& d : r.deadEnds)
    out << "<li>line " << d.line << " (" << d.kind << " wait, " << d.states << " states)</li>\n";
  const std::vector<int> never = linesNeverRun(r);
  out << "</ul><h2>Lines no path ran</h2><p id=\"never\">"
      << (never.empty() ? "none" : lineRanges(never)) << "</p></section>\n";
}

void writeTable(std::ostream& out, const MapLayout& m) {
  out << "<section><h2>Places and their moves</h2><table><tr><th>place</th><th>moves</th></tr>\n";
  for (size_t p = 0; p < m.places.size(); ++p) {
    const MapPlace& place = m.places[p];
    if (place.kind == MapPlace::Ending || place.kind == MapPlace::Error) continue;
    out << "<tr><td>" << htmlEscape(placeName(place) + " (" + placeDetail(place) + ")")
        << "</td><td>";
    for (const MapMove& move : m.moves)
      if (move.from == static_cast<int>(p))
        out << htmlEscape(moveText(move, ", ")) << " → " << htmlEscape(placeName(m.places[move.to]))
            << "<br>";
    out << "</td></tr>\n";
  }
  out << "</table></section>\n";
}

}  // namespace

std::string htmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string exploreMapPage(const ExploreReport& report, const std::string& title) {
  const MapLayout layout = layOutMap(report);
  std::ostringstream out;
  out << "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>Map of "
      << htmlEscape(title) << "</title>\n<style>" << kStyle << "</style></head>\n<body>\n";
  writeHeader(out, report, title);
  writeSvg(out, layout);
  writeOutcomes(out, report);
  writeTable(out, layout);
  out << "<script>" << kScript << "</script>\n</body></html>\n";
  return out.str();
}

void writeExploreMap(const ExploreReport& report, const std::filesystem::path& file,
                     const std::string& title) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << exploreMapPage(report, title);
  out.flush();
  if (!out) throw engine::FatalError(engine::kExitUsage, "cannot write the map " + file.string());
}

}  // namespace author

#pragma once
// The story as a map: the explored waits grouped by script line and kind of wait (a game
// reaches one menu line with many sets of flags; the map shows the line once), the click
// waits of a scene that follow one another with no other way in or on as one place, the
// endings and errors as places of their own, and the moves between them. Places sit in
// rows by how many moves the shortest way from the start takes to reach them, ordered
// within a row to keep the moves between rows from crossing.
#include <map>
#include <string>
#include <vector>

#include "author/explorer.h"

namespace author {

struct MapPlace {
  enum Kind { Start, Wait, Ending, Error } kind = Wait;
  int line = 0;
  std::vector<int> lines;                     // Wait: every line it stands for, in order
  gui::WaitKind wait = gui::WaitKind::Click;  // Wait
  int states = 0;                             // Wait: how many states it groups
  bool deadEnd = false;                       // Wait: some of its states lead nowhere
  std::string text;                           // Ending: "EOF"/"EXIT"; Error: the box text
  int row = 0;
  double x = 0, y = 0;  // the centre, in pixels
};

struct MapMove {
  int from = 0, to = 0;  // places
  // What the moves are called ("pick 1 「見る」", "click", ...), with how many states take
  // each.
  std::map<std::string, int> labels;
  bool loop() const { return to == from; }
};

struct MapLayout {
  std::vector<MapPlace> places;  // the start first
  std::vector<MapMove> moves;
  double width = 0, height = 0;
};

inline constexpr double kMapPlaceWidth = 190, kMapPlaceHeight = 52;

MapLayout layOutMap(const ExploreReport& report);

// "click", "menu", "poll" or "end".
std::string waitKindText(gui::WaitKind kind);

// "pick 1 「見る」": the action and, where the player sees one, its caption.
std::string wayLabel(const Way& way);

}  // namespace author

#pragma once
// The design values of the window and its controls, converted from twips at 15 per
// pixel. Colours are (red, green, blue); the desktop window colour is white and the
// desktop window text colour black.
#include "formats/image.h"
#include "gui/font.h"

namespace ui::design {

using formats::Rect;
using formats::rgb;
using gui::Face;
using gui::FontSpec;

constexpr int px(int twips) { return twips / 15; }
constexpr Rect twips(int left, int top, int width, int height) {
  return {px(left), px(top), px(width), px(height)};
}

inline constexpr const char* kCaption = "TORAMI Win Ver1.8";
inline constexpr int kClientWidth = px(7590);   // 506
inline constexpr int kClientHeight = px(5760);  // 384
inline constexpr formats::Color kWindowColor = rgb(255, 255, 255);
inline constexpr formats::Color kWindowTextColor = rgb(0, 0, 0);

inline constexpr Rect kPicture2 = twips(240, 1080, 975, 1095);
inline constexpr Rect kPicture1 = twips(0, 0, 7560, 5040);  // 504 x 336
inline constexpr formats::Color kPicture1Back = rgb(64, 64, 64);
inline constexpr Rect kMES = twips(0, 5070, 6900, 675);
inline constexpr Rect kLabel2 = twips(6930, 5070, 645, 285);
inline constexpr Rect kLBhg = twips(6930, 5370, 645, 375);

// The menu grid inside Picture1: LBcm is the top-left cell, Label1 fills the rest.
inline constexpr int kCellWidth = 1815, kCellHeight = 255;
inline constexpr int kColumns[3] = {1080, 2880, 4680};
inline constexpr int kRows[3] = {4200, 4440, 4680};
constexpr Rect cell(int index) {  // 0 is LBcm, 1..8 are Label1(0..7)
  return twips(kColumns[index % 3], kRows[index / 3], kCellWidth, kCellHeight);
}

inline constexpr formats::Color kLBcmBack = rgb(0, 128, 0);
inline constexpr formats::Color kLBcmText = rgb(0, 255, 0);
inline constexpr formats::Color kLabel1Back = rgb(64, 64, 64);
inline constexpr formats::Color kLabel1Pressed = rgb(192, 0, 0);
inline constexpr formats::Color kLBcmPressed = rgb(0, 192, 0);
inline constexpr formats::Color kLabel1Text = rgb(255, 255, 0);
inline constexpr formats::Color kLabel2Back = rgb(255, 192, 192);
inline constexpr formats::Color kLabel2Text = rgb(255, 0, 0);
inline constexpr formats::Color kLBhgBack = rgb(192, 255, 192);

inline constexpr FontSpec kMenuFont{Face::Mincho, 12, false};
inline constexpr FontSpec kMESFont{Face::Gothic, 14.25, false};
inline constexpr FontSpec kLabel2Font{Face::Gothic, 12, true};
inline constexpr FontSpec kLBhgFont{Face::Gothic, 20.25, false};
inline constexpr char32_t kChanceCaption[] = U"ﾁｬﾝｽ!";

inline constexpr int kTimerMIDIInterval = 100;

}  // namespace ui::design

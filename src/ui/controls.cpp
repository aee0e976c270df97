#include "ui/controls.h"

#include "ui/design.h"

namespace ui {

using gui::Place;

namespace {

// Where a scripted click on the picture area lands: a corner with no label over it.
constexpr formats::Point kPictureClick{20, 20};

gui::Label& menuLabel(gui::Form& form, gui::Control* parent, int cell, formats::Color back,
                      formats::Color text) {
  gui::Label& label = form.addLabel(parent, design::cell(cell), design::kMenuFont);
  label.setVisible(false);
  label.setBackColor(back);
  label.setForeColor(text);
  return label;
}

}  // namespace

Controls createControls(gui::Form& form) {
  using namespace design;
  form.setCaption(kCaption);
  form.setBackColor(rgb(0, 0, 0));
  Controls c{};

  c.Picture2 = &form.addPictureBox(nullptr, kPicture2, true);
  c.Picture2->setVisible(false);
  c.Picture2->setBackColor(kWindowColor);
  c.Picture2->setForeColor(kWindowTextColor);

  c.TimerMIDI = &form.addTimer(kTimerMIDIInterval);

  c.Picture1 = &form.addPictureBox(nullptr, kPicture1, false);
  c.Picture1->setBackColor(kPicture1Back);
  c.Picture1->setForeColor(kWindowTextColor);
  c.Picture1->setScaleMode(gui::ScaleMode::Pixels);
  form.addPlace(Place::PictureArea, 0, *c.Picture1, kPictureClick);

  c.LBcm = &menuLabel(form, c.Picture1, 0, kLBcmBack, kLBcmText);
  form.addPlace(Place::MenuHeading, 0, *c.LBcm);
  for (int i = 0; i < engine::kEntries; ++i) {
    c.Label1[i] = &menuLabel(form, c.Picture1, i + 1, kLabel1Back, kLabel1Text);
    form.addPlace(Place::MenuLabel, i, *c.Label1[i]);
  }

  c.MES = &form.addPictureBox(nullptr, kMES, true);
  c.MES->setBackColor(kWindowColor);
  c.MES->setForeColor(kWindowTextColor);
  c.MES->setFont(kMESFont);
  c.MES->setScaleMode(gui::ScaleMode::Points);
  form.addPlace(Place::MessageArea, 0, *c.MES);

  c.Label2 = &form.addLabel(nullptr, kLabel2, kLabel2Font);
  c.Label2->setBackColor(kLabel2Back);
  c.Label2->setForeColor(kLabel2Text);
  c.Label2->setCaption(kChanceCaption);
  form.addPlace(Place::ChanceLabel, 0, *c.Label2);

  c.LBhg[0] = &form.addLabel(nullptr, kLBhg, kLBhgFont);
  c.LBhg[0]->setBackColor(kLBhgBack);
  c.LBhg[0]->setForeColor(kWindowTextColor);
  return c;
}

}  // namespace ui

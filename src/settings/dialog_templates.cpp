#include "settings/dialog_templates.h"

namespace {

using K = ControlKind;

ControlTemplate control(int id, ControlKind kind, const char* text, int x, int y, int width,
                        int height, int style = 0) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.text = text;
  c.x = x;
  c.y = y;
  c.width = width;
  c.height = height;
  c.style = style;
  return c;
}

DialogTemplate build_graph_settings() {
  DialogTemplate t;
  t.number = kGraphSettingsTemplate;
  t.caption = "VELTRA: Graph Settings";
  t.font_face = "MS Sans Serif";
  t.font_points = 8;
  t.width = 235;
  t.height = 287;
  ControlTemplate picture = control(kNoId, K::picture, "", 187, 26, 36, 33);
  picture.bitmap = &orientation_bitmap();
  t.controls = {
      control(kIdReverseVertical, K::check_box, "Z / Y (vertical axis)", 17, 31, 75, 10),
      control(kIdReverseY, K::check_box, "Y (For: NGL =3)", 17, 48, 68, 9),
      control(kIdReverseX, K::check_box, "X", 119, 48, 18, 9),
      control(kIdNodeIndices, K::check_box, "On/Off", 70, 95, 36, 12),
      control(kIdElementIndices, K::check_box, "On/Off", 70, 115, 36, 9),
      control(kIdGridAndScale, K::check_box, "On/Off", 70, 132, 36, 9),
      control(kIdTimeOutput, K::check_box, "On/Off", 70, 149, 31, 9),
      control(kIdShowAllPositions, K::push_check_box, "No / Yes", 70, 170, 35, 12),
      control(kIdDisplacementFactor, K::simple_combo, "", 187, 199, 35, 27),
      control(kIdMinSizeFactor, K::simple_combo, "", 56, 199, 35, 27),
      control(kIdAccept, K::push_button, "DRAW", 188, 265, 40, 15, kStyleDefault),
      control(kIdCancel, K::push_button, "Cancel", 7, 267, 35, 13),
      control(kNoId, K::group_box, "AXIS ORIENTATION", 7, 3, 221, 60),
      control(kNoId, K::group_box, "DRAWING", 7, 66, 221, 164),
      control(kNoId, K::static_text, "Check to Reverse Orientation vs. Standard Orientation", 13,
              13, 177, 10, kStyleSunken),
      control(kNoId, K::static_text, "Grid and Scale", 18, 131, 48, 9),
      picture,
      control(kNoId, K::static_text, "Element Indices", 14, 115, 52, 9),
      control(kIdGraphTitle, K::static_text, "My Problem", 15, 238, 198, 18, kStyleSunken),
      control(kNoId, K::static_text, "Check/Uncheck for:  On / Off", 12, 78, 106, 10,
              kStyleSunken),
      control(kNoId, K::static_text, "Node Indices", 23, 96, 43, 9),
      control(kNoId, K::static_text, "Color Scheme", 127, 96, 46, 9),
      control(kNoId, K::static_text, "Increasing Factor   for Minimum Size", 16, 193, 35, 31),
      control(kNoId, K::static_text, "Displacement Magnification Factor", 137, 198, 44, 23),
      control(kNoId, K::static_text, "Time Output Placed\nNear Node", 133, 141, 40, 25),
      control(kNoId, K::static_text, "Show\nALL Positions", 23, 167, 43, 17),
      control(kNoId, K::static_text, "Time Output", 27, 148, 39, 9),
      control(kIdTimeOutputList, K::list_box, "", 177, 136, 45, 35, kStyleVScroll),
      control(kIdColourScheme, K::drop_down_list, "", 177, 95, 45, 36),
  };
  return t;
}

DialogTemplate build_time_settings() {
  DialogTemplate t;
  t.number = kTimeSettingsTemplate;
  t.caption = "VELTRA: Time Settings";
  t.font_face = "MS Sans Serif";
  t.font_points = 8;
  t.width = 187;
  t.height = 167;
  constexpr int kEditStyle = kStyleBorder | kStyleHScroll;
  t.controls = {
      control(kIdAccept, K::push_button, "OK", 140, 145, 40, 15, kStyleDefault),
      control(kIdCancel, K::push_button, "Cancel", 7, 146, 35, 14),
      control(kNoId, K::group_box, "INFO", 7, 3, 173, 44),
      control(kNoId, K::static_text, "Start Time", 17, 15, 32, 8),
      control(kIdStartTime, K::static_text, "", 17, 27, 35, 10, kStyleSunken),
      control(kNoId, K::static_text, "End Time", 76, 15, 29, 8),
      control(kIdEndTime, K::static_text, "", 75, 27, 35, 10, kStyleSunken),
      control(kNoId, K::static_text, "No. of Steps", 134, 15, 40, 8),
      control(kIdStepCount, K::static_text, "", 134, 27, 35, 10, kStyleSunken),
      control(kNoId, K::group_box, "SETTINGS", 7, 51, 173, 80),
      control(kNoId, K::static_text, "Start Step", 16, 65, 33, 10),
      control(kNoId, K::static_text, "End Step", 79, 65, 29, 10),
      control(kNoId, K::static_text, "Frequency", 135, 65, 37, 10),
      control(kIdStartStep, K::edit, "", 19, 79, 31, 12, kEditStyle),
      control(kIdEndStep, K::edit, "", 78, 79, 31, 12, kEditStyle),
      control(kIdFrequency, K::edit, "", 137, 79, 31, 12, kEditStyle),
      control(kNoId, K::static_text, "Delay (milisec.)", 26, 110, 48, 10),
      control(kIdDelay, K::edit, "", 78, 109, 42, 13, kEditStyle),
  };
  return t;
}

DialogTemplate build_custom_colours() {
  DialogTemplate t;
  t.number = kCustomColoursTemplate;
  t.caption = "Dialog";
  t.font_face = "MS Shell Dlg";
  t.font_points = 8;
  t.width = 217;
  t.height = 183;
  t.controls = {
      control(kIdAccept, K::push_button, "OK", 160, 162, 50, 14, kStyleDefault),
      control(kIdCancel, K::push_button, "Cancel", 160, 108, 50, 14, kStyleHidden),
      control(1040, K::push_button, "Line", 35, 17, 55, 14, kStyleFlat),
      control(1041, K::push_button, "Grid", 35, 44, 55, 14, kStyleFlat),
      control(1042, K::push_button, "Scale", 35, 71, 55, 14, kStyleFlat),
      control(1043, K::push_button, "Node (Index)", 35, 98, 55, 14, kStyleFlat),
      control(1044, K::push_button, "Element (Index)", 35, 125, 55, 14, kStyleFlat),
      control(1045, K::push_button, "Text", 35, 152, 55, 14, kStyleFlat),
  };
  return t;
}

}  // namespace

const DialogTemplate& graph_settings_template() {
  static const DialogTemplate t = build_graph_settings();
  return t;
}

const DialogTemplate& time_settings_template() {
  static const DialogTemplate t = build_time_settings();
  return t;
}

const DialogTemplate& custom_colours_template() {
  static const DialogTemplate t = build_custom_colours();
  return t;
}

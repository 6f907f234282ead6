// The dialog templates of the settings dialogs and the orientation picture,
// as program resources.
//
// Positions and sizes are in dialog units of the template's font; controls
// are listed in template (tab) order. The records are built once and live
// for the whole process.
#pragma once

#include "platform/dlg.h"

constexpr int kGraphSettingsTemplate = 101;
constexpr int kOrientationBitmap = 102;
constexpr int kTimeSettingsTemplate = 106;
constexpr int kCustomColoursTemplate = 108;

// Control ids of template 101, "VELTRA: Graph Settings".
constexpr int kIdReverseVertical = 1002;
constexpr int kIdReverseY = 1003;
constexpr int kIdReverseX = 1004;
constexpr int kIdGridAndScale = 1007;
constexpr int kIdElementIndices = 1008;
constexpr int kIdShowAllPositions = 1009;
constexpr int kIdGraphTitle = 1011;
constexpr int kIdNodeIndices = 1013;
constexpr int kIdMinSizeFactor = 1015;
constexpr int kIdDisplacementFactor = 1020;
constexpr int kIdTimeOutputList = 1029;
constexpr int kIdTimeOutput = 1032;
constexpr int kIdColourScheme = 1034;

// Control ids of template 106, "VELTRA: Time Settings".
constexpr int kIdStartTime = 1021;
constexpr int kIdStartStep = 1022;
constexpr int kIdEndStep = 1023;
constexpr int kIdFrequency = 1024;
constexpr int kIdDelay = 1025;
constexpr int kIdEndTime = 1026;
constexpr int kIdStepCount = 1027;

// Control ids of template 108, the custom colours dialog: one button per
// colour slot, 1040 (line) to 1045 (text).
constexpr int kIdFirstColourButton = 1040;
constexpr int kIdLastColourButton = 1045;

// Buttons common to every template.
constexpr int kIdAccept = 1;
constexpr int kIdCancel = 2;

// Template 101: 235 x 287 units, caption "VELTRA: Graph Settings".
const DialogTemplate& graph_settings_template();

// Template 106: 187 x 167 units, caption "VELTRA: Time Settings".
const DialogTemplate& time_settings_template();

// Template 108: 217 x 183 units, caption "Dialog"; its Cancel is hidden.
const DialogTemplate& custom_colours_template();

// Bitmap 102: 54 x 53 pixels in 16 colours, the standard axis orientation
// (X right and Z up in blue, Y dotted in magenta at 45 degrees up-right).
const Bitmap& orientation_bitmap();

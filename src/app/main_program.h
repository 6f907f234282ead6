// The main program: start-up, the idle loop and the orderly end at the graph
// limit. Entered once by the runtime (wnd_runtime_main) on a thread of its own;
// returns when the limit is reached, after which the runtime shows its end
// prompt.
#pragma once

#include "platform/wnd.h"

void main_program();

// The program's menu: its position (after the runtime's menus) and the
// positions of its items.
constexpr int kGraphMenu = kProgramMenu;
constexpr int kItemNewGraph = 1;
constexpr int kItemBackToSettings = 2;
constexpr int kItemCancelDraw = 3;
constexpr int kItemExit = 5;

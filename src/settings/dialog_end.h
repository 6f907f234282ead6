// How a settings dialog ended, as its show_ function returns it.
#pragma once

enum class DialogEnd {
  accepted,   // closed by OK / DRAW, or the dialog could not be shown
  cancelled,  // closed by Cancel: the run ends
};

// How many wnd_beep calls have sounded and returned so far (the layer's tests
// wait for an animation's closing beep with it).
#pragma once

namespace qtl {

int beep_count();

}  // namespace qtl

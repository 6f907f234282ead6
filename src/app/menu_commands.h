// The commands of the NEW GRAPH menu. They run on the GUI thread and return
// at once: a graph command hands its graph number to a run thread of its own.
#pragma once

void on_new_graph(bool checked);
void on_back_to_settings(bool checked);
void on_cancel_draw(bool checked);

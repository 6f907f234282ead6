// A small program on the Qt layer for looking at it on a screen: the info
// window, a graph window with lines in the three styles, filled and bordered
// shapes, graphic and cell text, and a program menu.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/gfx.h"
#include "platform/wnd.h"

namespace {

void on_hello(bool) { wnd_message_box("Hello from the demo menu.", "Demo", kBoxInformationOk); }

void draw_demo() {
  WindowConfig config;
  wnd_get_config(&config);
  gfx_set_window(true, 0, 0, 100, 60);
  gfx_set_background_colour(kRgbWhite);
  gfx_clear();
  gfx_init_fonts();
  gfx_set_font("t'tms rmn'h15be");
  gfx_set_colour(0x800080);
  gfx_move_to(2, 58);
  gfx_out_graphic_text("VELTRA layer demo: ");
  gfx_set_font("t'tms rmn'h13b");
  gfx_out_graphic_text("lines, shapes and texts");

  const std::uint16_t styles[] = {kLineSolid, kLineDashed, kLineDotted};
  const Rgb colours[] = {0x000080, 0x008000, 0x800000};
  for (int i = 0; i < 3; ++i) {
    gfx_set_line_style(styles[i]);
    gfx_set_colour(colours[i]);
    gfx_move_to(5, 50 - 4 * i);
    gfx_line_to(45, 50 - 4 * i);
  }
  gfx_set_line_style(kLineSolid);
  gfx_set_colour(0x0000FF);
  gfx_set_fill_mask(kFillHalfTone);
  gfx_rectangle(kGfxFilled, 5, 5, 25, 30);
  gfx_set_colour(kRgbBlack);
  gfx_rectangle(kGfxBorder, 5, 5, 25, 30);
  gfx_set_fill_mask(kFillSolid);
  gfx_set_colour(0x00A0FF);
  gfx_ellipse(kGfxFilled, 30, 5, 50, 30);
  gfx_set_colour(kRgbBlack);
  gfx_ellipse(kGfxBorder, 30, 5, 50, 30);
  WorldPoint star[10];
  for (int i = 0; i < 10; ++i) {
    const double r = (i % 2) ? 6 : 14, a = 3.14159265 / 2 + i * 3.14159265 / 5;
    star[i] = {75 + r * std::cos(a), 30 + r * std::sin(a)};
  }
  gfx_set_colour(0x008000);
  gfx_polygon(kGfxFilled, star, 10);
  gfx_set_colour(kRgbBlack);
  gfx_polygon(kGfxBorder, star, 10);
  gfx_set_background_colour(0xFFFF00);
  gfx_set_text_colour(0x800000);
  gfx_set_text_position(config.text_rows - 1, 2);
  gfx_out_text(" Cell text on cyan cells ");
}

// --bench: frames of 100,000 lines and 2,000 labels, timed.
void bench() {
  wnd_set_graph_area_size(1000, 700);
  wnd_open_child(10, "bench", ChildKind::graph);
  gfx_set_window(true, 0, 0, 1000, 700);
  gfx_init_fonts();
  gfx_set_font("t'tms rmn'h11b");
  for (int frame = 0; frame < 3; ++frame) {
    const auto start = std::chrono::steady_clock::now();
    gfx_clear();
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int i = 0; i < 100000; ++i) {
      const double x = next() % 1000, y = next() % 700;
      gfx_set_line_style(i % 3 == 0 ? kLineDashed : kLineSolid);
      gfx_move_to(x, y);
      gfx_line_to(x + static_cast<double>(next() % 21) - 10, y + static_cast<double>(next() % 21) - 10);
    }
    const auto lines = std::chrono::steady_clock::now();
    for (int i = 0; i < 2000; ++i) {
      gfx_move_to(next() % 1000, next() % 700);
      gfx_out_graphic_text("123");
    }
    const auto end = std::chrono::steady_clock::now();
    using ms = std::chrono::duration<double, std::milli>;
    std::printf("frame %d: 100000 lines %.1f ms, 2000 labels %.1f ms\n", frame,
                ms(lines - start).count(), ms(end - lines).count());
  }
  std::fflush(stdout);
  wnd_quit(0);
}

void program() {
  wnd_set_size(kFrameWindow, WindowSize{});
  wnd_open_child(9, " VELTRA: Info", ChildKind::text);
  wnd_menu_insert(7, 0, kMenuEnabled, "DEMO", wnd_menu_no_action);
  wnd_menu_append(7, kMenuEnabled, "Say Hello", on_hello);
  wnd_menu_append(7, kMenuSeparator, "", wnd_menu_no_action);
  wnd_menu_append(7, kMenuEnabled, "EXIT", wnd_menu_exit_action);
  wnd_set_about_text("VELTRA layer demo\nA test program of the window layer");
  wnd_write_line(9, " * Demo Started");
  wnd_open_child(10, "(1) Demo graph", ChildKind::graph);
  wnd_set_size(10, WindowSize{});
  draw_demo();
  wnd_write_line(9, " Graf. No.:1");
  const char* hold = std::getenv("DEMO_HOLD_MS");
  wnd_sleep(hold ? std::atoi(hold) : 1500);
  wnd_set_active(9);
  gfx_set_text_colour(kRgbWhite);
  gfx_out_text(" * Demo Exited");
  wnd_close_child(9, true);
}

}  // namespace

int main(int argc, char** argv) {
  const bool benchmark = argc > 1 && std::strcmp(argv[1], "--bench") == 0;
  return wnd_runtime_main(argc, argv, benchmark ? bench : program);
}

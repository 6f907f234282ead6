// The damaged-folder catalogue: result folders broken in every way a disk, a
// copy or a hand edit breaks them, each taken down the whole road of a new
// graph on the recording layer (directory choice, loading, both dialogs, the
// extents pass, the window, the animation). Each case names the exact line
// the user is left with; an intact or merely odd folder draws its graph.
//
// A second pass reads each folder's input (the load and every step's
// records) in a child process whose address space is limited to what it
// already uses plus the bytes of the folder's files plus 64 MiB.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <new>
#include <regex>
#include <string>
#include <vector>

#include "app/runs.h"
#include "failing_reads.h"
#include "input/file_lookup.h"
#include "input/load_problem.h"
#include "input/step_records.h"
#include "input_fixtures.h"
#include "render/cancel.h"
#include "settings/graph_settings.h"
#include "support/fake_platform.h"
#include "support/sanitized.h"


namespace {

namespace fs = std::filesystem;
using input_test::Bytes;
using input_test::TempFolder;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The intact folder every case starts from: a plane frame (NGL 2) of three
// nodes and two elements, three stored steps (0 to 2). x.unf is 96 bytes
// (records of 32), nei.unf 72 (records of 24), u01.unf 576 (steps of 192),
// el.unf 864 (steps of 288).
struct Files {
  std::string sizes = "3 0 0 2 2 4 1 1";
  std::string lists;
  std::string points = "3";
  std::string title_path = "/nowhere/beam.dat";
  int ngl = 2;
  std::vector<std::vector<float>> nodes = {{0, 0}, {1, 0}, {1, 1}};
  std::vector<std::vector<std::int32_t>> incidence = {{1, 0, 0, 0}, {2, 1, 0, 0}, {0, 2, 0, 0}};
  int steps = 3;
  int elements = 2;
  // Displacement of node n (1-based) in direction j at step s.
  std::function<float(int, int, int)> displacement = [](int s, int n, int j) {
    return j == 1 ? 0.1f * static_cast<float>(s * n) : 0.0f;
  };
};

void write_files(const TempFolder& folder, const Files& f) {
  std::string comdin = " " + f.sizes + "\n" + f.lists;
  // comdin_tail writes the number of stored points as an integer; the cases
  // that damage it replace the field afterwards.
  std::string tail = input_test::comdin_tail(0.5f, 1.0f, 3, f.title_path);
  const std::string step_line = " 1 0.0 1.000000 3\n";
  const std::size_t at = tail.find(step_line);
  if (at != std::string::npos) tail.replace(at, step_line.size(), " 1 0.0 1.000000 " + f.points + "\n");
  folder.write("comdin.dat", comdin + tail);
  folder.write("x.unf", input_test::x_file(f.ngl, f.nodes));
  folder.write("nei.unf", input_test::nei_file(f.incidence));
  Bytes u01, el;
  const int nodes = static_cast<int>(f.nodes.size());
  for (int s = 0; s < f.steps; ++s) {
    for (int n = 1; n <= nodes; ++n) {
      for (int j = 1; j <= f.ngl; ++j) u01.f32(f.displacement(s, n, j));
      u01.zeros(static_cast<std::size_t>(28 * f.ngl));
    }
    for (int e = 1; e <= f.elements; ++e) {
      el.zeros(static_cast<std::size_t>(4 * f.ngl + 4)).f32(e == 1 ? 1.0f : 0.0f).i32(e == 2 ? -1 : 0);
      el.zeros(static_cast<std::size_t>(12 * f.ngl + 100));
    }
  }
  folder.write("u01.unf", u01.data);
  folder.write("el.unf", el.data);
}

void truncate(const TempFolder& folder, const char* name, std::uintmax_t bytes) {
  fs::resize_file(folder.file(name), bytes);
}
void cut_bytes(const TempFolder& folder, const char* name, std::uintmax_t bytes) {
  truncate(folder, name, fs::file_size(folder.file(name)) - bytes);
}
void replace_with_folder(const TempFolder& folder, const char* name) {
  fs::remove(folder.file(name));
  fs::create_directory(folder.file(name));
}
void replace_with_fifo(const TempFolder& folder, const char* name) {
  fs::remove(folder.file(name));
  ASSERT_EQ(::mkfifo(folder.file(name).c_str(), 0600), 0);
}
// A link to itself: listed in the folder, but it cannot be opened. (The
// tests run as root, for whom a file without read permission still opens.)
void replace_with_link_loop(const TempFolder& folder, const char* name) {
  fs::remove(folder.file(name));
  fs::create_symlink(name, folder.file(name));
}
// Replaces every `from` of file `name` by `to`.
void rewrite(const TempFolder& folder, const char* name, const std::string& from, const std::string& to) {
  std::ifstream in(folder.file(name), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
  folder.write(name, text);
}
void write_at(const TempFolder& folder, const char* name, std::size_t offset, const Bytes& bytes) {
  std::fstream file(folder.file(name), std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(offset));
  file.write(reinterpret_cast<const char*>(bytes.data.data()), static_cast<std::streamsize>(bytes.data.size()));
}

// The dir placeholder in expected lines.
constexpr const char* kDir = "{dir}";
constexpr const char* kMissingFiles = " * Missing Files: Exiting...";

struct Case {
  const char* name;
  std::function<void(Files&)> edit;                 // before the files are written
  std::function<void(const TempFolder&)> damage;    // after
  std::string line;           // what the user is left with; empty: the graph is drawn
  const char* failing_file = "";  // reads of this file fail with EIO
  std::string info = "";      // a line the info window must show as well
  // The road runs in a child process whose address space is limited to what
  // it has mapped plus kLimitedAllowance: the counts back more than that.
  bool limited = false;
};

constexpr std::uintmax_t kLimitedAllowance = std::uintmax_t{512} << 20;
// The figure of memory available, which depends on the machine, in
// expected lines.
constexpr const char* kAvailable = "{available}";
const char* const kDrawnWithIt = ", not a finite number; the graph is drawn with it and may show no structure";

std::vector<Case> catalogue() {
  auto none = [](Files&) {};
  auto intact = [](const TempFolder&) {};
  auto sizes = [](const char* text) { return [text](Files& f) { f.sizes = text; }; };
  return {
      {"intact", none, intact, ""},
      // Truncations at and inside the record boundaries of each file.
      {"x_empty", none, [](const TempFolder& d) { truncate(d, "x.unf", 0); }, "x.unf: 0 records, 3 needed"},
      {"x_cut_at_a_record_boundary", none, [](const TempFolder& d) { truncate(d, "x.unf", 64); },
       "x.unf: 2 records, 3 needed"},
      {"x_cut_inside_the_coordinates", none, [](const TempFolder& d) { truncate(d, "x.unf", 68); },
       "x.unf: 2 records, 3 needed"},
      {"x_cut_inside_the_reserve", none, [](const TempFolder& d) { cut_bytes(d, "x.unf", 1); },
       "x.unf: 2 records, 3 needed"},
      {"nei_empty", none, [](const TempFolder& d) { truncate(d, "nei.unf", 0); },
       "nei.unf: 0 bytes, too short for 3 records of 4 integers"},
      {"nei_cut_at_a_record_boundary", none, [](const TempFolder& d) { truncate(d, "nei.unf", 48); },
       "nei.unf: 48 bytes, too short for 3 records of 4 integers"},
      {"nei_cut_inside_a_record", none, [](const TempFolder& d) { truncate(d, "nei.unf", 60); },
       "nei.unf: 60 bytes, too short for 3 records of 4 integers"},
      {"nei_cut_inside_the_last_of_longer_records",
       [](Files& f) { f.incidence[0] = {1, 0, 0, 0, 0, 0}; }, [](const TempFolder& d) { cut_bytes(d, "nei.unf", 8); },
       "nei.unf: the record of node 3 is damaged (its length markers do not match)"},
      {"nei_closing_marker_differs", none, [](const TempFolder& d) { write_at(d, "nei.unf", 20, Bytes().i32(15)); },
       "nei.unf: the record of node 1 is damaged (its length markers do not match)"},
      {"nei_negative_length", none, [](const TempFolder& d) { write_at(d, "nei.unf", 24, Bytes().i32(-4)); },
       "nei.unf: the record of node 2 is damaged (its length markers do not match)"},
      {"nei_record_narrower_than_incidence_width",
       [](Files& f) { f.incidence = {{1, 0, 0, 0, 0}, {2, 1, 0}, {0, 2, 0, 0}}; }, intact,
       "nei.unf: the record of node 2 holds 3 integers, 4 needed"},
      {"u01_empty", none, [](const TempFolder& d) { truncate(d, "u01.unf", 0); },
       "u01.unf: step 0 is beyond the end of the file, which holds no complete step"},
      {"u01_cut_at_a_step_boundary", none, [](const TempFolder& d) { truncate(d, "u01.unf", 384); },
       "u01.unf: step 2 is beyond the end of the file, which holds steps 0 to 1"},
      {"u01_cut_at_a_record_boundary", none, [](const TempFolder& d) { cut_bytes(d, "u01.unf", 64); },
       "u01.unf: step 2 is beyond the end of the file, which holds steps 0 to 1"},
      {"u01_cut_inside_a_record", none, [](const TempFolder& d) { cut_bytes(d, "u01.unf", 10); },
       "u01.unf: step 2 is beyond the end of the file, which holds steps 0 to 1"},
      {"el_empty", none, [](const TempFolder& d) { truncate(d, "el.unf", 0); },
       "el.unf: step 0 is beyond the end of the file, which holds no complete step"},
      {"el_cut_at_a_step_boundary", none, [](const TempFolder& d) { truncate(d, "el.unf", 576); },
       "el.unf: step 2 is beyond the end of the file, which holds steps 0 to 1"},
      {"el_cut_inside_a_record", none, [](const TempFolder& d) { cut_bytes(d, "el.unf", 100); },
       "el.unf: step 2 is beyond the end of the file, which holds steps 0 to 1"},
      // Counts beyond what the files hold.
      {"node_count_beyond_x", sizes("4 0 0 2 2 4 1 1"), intact, "x.unf: 3 records, 4 needed"},
      {"node_count_huge", sizes("2000000000 0 0 2 2 4 1 1"), intact, "x.unf: 3 records, 2000000000 needed"},
      {"element_count_huge", sizes("3 0 0 2000000000 2 4 1 1"), intact,
       "comdin.dat: element_count 2000000000 is more than el.unf and nei.unf can reference "
       "(el.unf holds 6 records, nei.unf 18 integers)"},
      {"element_count_beyond_el", sizes("3 0 0 5 2 4 1 1"), intact,
       "el.unf: step 1 is beyond the end of the file, which holds steps 0 to 0"},
      {"incidence_width_huge", sizes("3 0 0 2 2 2147483647 1 1"), intact,
       "nei.unf: 72 bytes, too short for 3 records of 2147483647 integers"},
      {"incidence_width_huge_without_nodes", sizes("0 0 0 2 2 2147483647 1 1"), intact, ""},
      {"restraint_lists_beyond_the_file", sizes("3 2 0 2 2 4 1 1"), intact,
       "comdin.dat, line 2: an integer was expected, found 0.500000"},
      {"elastic_lists_beyond_the_file", sizes("3 0 1 2 2 4 1 1"), intact,
       "comdin.dat, line 4: an integer was expected, found 0.2"},
      {"steps_beyond_the_files", [](Files& f) { f.points = "5"; }, intact,
       "u01.unf: step 3 is beyond the end of the file, which holds steps 0 to 2"},
      {"steps_huge", [](Files& f) { f.points = "2147483647"; }, intact,
       "u01.unf: step 107374182 is beyond the end of the file, which holds steps 0 to 2"},
      // Negative and zero counts.
      {"node_count_zero", sizes("0 0 0 2 2 4 1 1"), intact, ""},
      {"node_count_negative", sizes("-5 0 0 2 2 4 1 1"), intact, ""},
      {"element_count_zero", sizes("3 0 0 0 2 4 1 1"), intact, ""},
      {"element_count_negative", sizes("3 0 0 -1 2 4 1 1"), intact, ""},
      {"incidence_width_zero", sizes("3 0 0 2 2 0 1 1"), intact, ""},
      {"incidence_width_negative", sizes("3 0 0 2 2 -3 1 1"), intact, ""},
      {"restrained_count_negative", sizes("3 -2 0 2 2 4 1 1"), intact, ""},
      {"stored_points_one", [](Files& f) { f.points = "1"; }, intact, ""},
      {"stored_points_zero", [](Files& f) { f.points = "0"; }, intact, ""},
      {"stored_points_negative", [](Files& f) { f.points = "-7"; }, intact, ""},
      // NGL other than 2 or 3.
      {"ngl_1", sizes("3 0 0 2 1 4 1 1"), intact, "comdin.dat, line 1: NGL must be 2 or 3, found 1"},
      {"ngl_4", sizes("3 0 0 2 4 4 1 1"), intact, "comdin.dat, line 1: NGL must be 2 or 3, found 4"},
      {"ngl_3_with_plane_files", sizes("3 0 0 2 3 4 1 1"), intact, "x.unf: 2 records, 3 needed"},
      // Reals where integers belong.
      {"real_node_count", sizes("3.0 0 0 2 2 4 1 1"), intact,
       "comdin.dat, line 1: an integer was expected, found 3.0"},
      {"real_ngl", sizes("3 0 0 2 2.5 4 1 1"), intact, "comdin.dat, line 1: an integer was expected, found 2.5"},
      {"real_stored_points", [](Files& f) { f.points = "3.5"; }, intact,
       "comdin.dat, line 3: an integer was expected, found 3.5"},
      {"real_restraint_node", [](Files& f) { f.sizes = "3 1 0 2 2 4 1 1"; f.lists = " 1.5 1 1\n"; }, intact,
       "comdin.dat, line 2: an integer was expected, found 1.5"},
      // Each required file missing, and el.unf, which is not checked.
      {"comdin_missing", none, [](const TempFolder& d) { fs::remove(d.file("comdin.dat")); }, kMissingFiles},
      {"x_missing", none, [](const TempFolder& d) { fs::remove(d.file("x.unf")); }, kMissingFiles},
      {"nei_missing", none, [](const TempFolder& d) { fs::remove(d.file("nei.unf")); }, kMissingFiles},
      {"u01_missing", none, [](const TempFolder& d) { fs::remove(d.file("u01.unf")); }, kMissingFiles},
      {"el_missing", none, [](const TempFolder& d) { fs::remove(d.file("el.unf")); },
       std::string("el.unf: not found in ") + kDir},
      // Something else in a file's place.
      {"comdin_is_a_folder", none, [](const TempFolder& d) { replace_with_folder(d, "comdin.dat"); },
       "comdin.dat: is not a regular file"},
      {"x_is_a_folder", none, [](const TempFolder& d) { replace_with_folder(d, "x.unf"); },
       "x.unf: is not a regular file"},
      {"nei_is_a_fifo", none, [](const TempFolder& d) { replace_with_fifo(d, "nei.unf"); },
       "nei.unf: is not a regular file"},
      {"x_is_a_fifo", none, [](const TempFolder& d) { replace_with_fifo(d, "x.unf"); },
       "x.unf: is not a regular file"},
      {"u01_is_a_fifo", none, [](const TempFolder& d) { replace_with_fifo(d, "u01.unf"); },
       "u01.unf: is not a regular file"},
      {"el_is_a_fifo", none, [](const TempFolder& d) { replace_with_fifo(d, "el.unf"); },
       "el.unf: is not a regular file"},
      {"title_file_is_dev_zero", [](Files& f) { f.title_path = "/dev/zero"; }, intact, "zero: is not a regular file"},
      {"title_file_is_a_folder", [](Files& f) { f.title_path = "/tmp/"; }, intact, "/tmp/: is not a regular file"},
      // Files that are there but cannot be opened or read.
      {"x_cannot_be_opened", none, [](const TempFolder& d) { replace_with_link_loop(d, "x.unf"); },
       "x.unf: cannot be opened: Too many levels of symbolic links"},
      {"comdin_cannot_be_opened", none, [](const TempFolder& d) { replace_with_link_loop(d, "comdin.dat"); },
       "comdin.dat: cannot be opened: Too many levels of symbolic links"},
      {"nei_read_fails", none, intact, "nei.unf: cannot be read at byte 0: Input/output error", "nei.unf"},
      {"u01_read_fails", none, intact, "u01.unf: cannot be read at byte 0: Input/output error", "u01.unf"},
      {"el_read_fails", none, intact, "el.unf: cannot be read at byte 0: Input/output error", "el.unf"},
      // Coordinates and displacements that are not finite: the graph opens
      // and draws all the same.
      {"coordinate_nan", [](Files& f) { f.nodes[1][0] = kNaN; }, intact, "", "",
       std::string(" x.unf, node 2: coordinate 1 is NaN") + kDrawnWithIt},
      {"coordinate_infinite", [](Files& f) { f.nodes[2][1] = kInf; }, intact, ""},
      {"all_coordinates_nan", [](Files& f) { f.nodes = {{kNaN, kNaN}, {kNaN, kNaN}, {kNaN, kNaN}}; }, intact, ""},
      {"displacement_nan",
       [](Files& f) { f.displacement = [](int s, int n, int) { return s == 1 && n == 2 ? kNaN : 0.0f; }; }, intact, "",
       "", std::string(" u01.unf, step 1, node 2: displacement 1 is NaN") + kDrawnWithIt},
      {"displacement_infinite",
       [](Files& f) { f.displacement = [](int s, int n, int j) { return s == 2 && n == 3 && j == 2 ? -kInf : 0.0f; }; },
       intact, "", "", std::string(" u01.unf, step 2, node 3: displacement 2 is -Inf") + kDrawnWithIt},
      {"displacement_near_the_float_limit",
       [](Files& f) { f.displacement = [](int, int n, int) { return n == 1 ? 3.0e38f : -3.0e38f; }; }, intact, ""},
      // Counts that big files back, beyond the memory the process can have;
      // a record wider than that memory is read a part at a time.
      {"node_count_beyond_memory", sizes("40000000 0 0 2 2 4 1 1"),
       [](const TempFolder& d) {
         truncate(d, "x.unf", 40000000ull * 32);
         truncate(d, "nei.unf", 40000000ull * 24);
       },
       std::string("node_count 40000000 needs 2.9 GB of memory; ") + kAvailable + " is available", "", "", true},
      {"element_count_beyond_memory", sizes("3 0 0 2147483647 2 4 1 1"),
       [](const TempFolder& d) { truncate(d, "el.unf", 2147483647ull * 144); },
       std::string("element_count 2147483647 needs 51.6 GB of memory; ") + kAvailable + " is available", "", "",
       true},
      {"incidence_width_beyond_memory", sizes("3 0 0 2 2 400000000 1 1"),
       [](const TempFolder& d) { truncate(d, "nei.unf", 3ull * (400000000ull * 4 + 8)); },
       "nei.unf: the record of node 1 holds 4 integers, 400000000 needed", "", "", true},
      // Text files as other systems write them, and bytes that are no text.
      {"comdin_padded_with_zeros_to_4_GiB", none,
       [](const TempFolder& d) { truncate(d, "comdin.dat", std::uintmax_t{4} << 30); }, ""},
      {"comdin_with_a_byte_order_mark", none, [](const TempFolder& d) { rewrite(d, "comdin.dat", " 3 0", "\xEF\xBB\xBF 3 0"); },
       ""},
      {"comdin_with_cr_line_ends", none, [](const TempFolder& d) { rewrite(d, "comdin.dat", "\n", "\r"); },
       "comdin.dat, line 1: an integer was expected, found 1\\r (a line ends in CR alone; lines end in LF or CR LF)"},
      {"control_bytes_in_a_value", sizes("3\x1b[31m 0 0 2 2 4 1 1"), intact,
       "comdin.dat, line 1: an integer was expected, found 3\\x1b[31m"},
      {"control_bytes_in_the_title_path", [](Files& f) { f.title_path = "/nowhere/\x1b[31mbeam\x9b.dat"; }, intact, "",
       "", " Input File Not Found: /nowhere/\\x1b[31mbeam\\x9b.dat"},
  };
}

// `line` with the figure of memory available replaced by kAvailable.
std::string mask_available(std::string line) {
  static const std::regex figure("; [0-9.]+ [a-zA-Z]+ is available$");
  return std::regex_replace(line, figure, std::string("; ") + kAvailable + " is available");
}

std::string replace_dir(std::string text, const std::string& dir) {
  const std::size_t at = text.find(kDir);
  if (at != std::string::npos) text.replace(at, std::string(kDir).size(), dir);
  return text;
}

// The case's folder, written and damaged.
void prepare(const Case& c, const TempFolder& folder) {
  Files files;
  c.edit(files);
  write_files(folder, files);
  c.damage(folder);
}

// The road of one new graph on the recording layer, on this thread as the
// window thread (so that the end of the program is recorded and returns).
void new_graph_on_this_thread(bool) { run_thread_root(new_graph_run, 2); }

// What the user is left with after NEW Graph on `folder`: the message the
// program ended with, the info window's last line when it ended without
// one, or "" when the graph was drawn.
std::string road(const TempFolder& folder) {
  fake::reset();
  settings_startup();
  cancel_requested = false;
  wnd_open_child(kInfoUnit, "Info", ChildKind::text);
  fake::push_file_choice(folder.file("comdin.dat"));
  fake::push_box_answer(kBoxResultCancel);
  EXPECT_TRUE(wnd_menu_append(1, kMenuEnabled, "New", new_graph_on_this_thread));
  const std::string start = current_directory();
  EXPECT_TRUE(fake::choose_menu(1, static_cast<int>(fake::menus()[0].size()) - 1));
  EXPECT_EQ(::chdir(start.c_str()), 0);
  if (auto message = fake::stop_message()) return *message;
  if (fake::ended_with()) return fake::lines(kInfoUnit).back();
  return "";
}

// The address space the process has mapped now, in bytes.
std::uintmax_t mapped_bytes();

// road(folder) in a child process limited to the address space it has plus
// kLimitedAllowance; the child's line comes back through a pipe. An
// allocation that fails in the child gives "bad_alloc", any other end of the
// child "child ended with N".
std::string road_in_limited_child(const TempFolder& folder) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    ::alarm(20);
    const rlim_t limit = static_cast<rlim_t>(mapped_bytes() + kLimitedAllowance);
    const struct rlimit address_space = {limit, limit};
    std::string line;
    if (::setrlimit(RLIMIT_AS, &address_space) != 0) ::_exit(4);
    try {
      line = road(folder);
    } catch (const std::bad_alloc&) {
      line = "bad_alloc";
    }
    const ssize_t written = ::write(pipe_ends[1], line.data(), line.size());
    ::_exit(written == static_cast<ssize_t>(line.size()) ? 0 : 5);
  }
  ::close(pipe_ends[1]);
  std::string line;
  char buffer[512];
  for (ssize_t got; (got = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) line.append(buffer, static_cast<std::size_t>(got));
  ::close(pipe_ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return "child ended with " + std::to_string(WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status));
  return line;
}

TEST(DamagedFolders, EachEndsWithItsLineOrDrawsItsGraph) {
  const std::vector<Case> cases = catalogue();
  EXPECT_GE(cases.size(), 40u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    prepare(c, folder);
    if (c.limited) {
      if (!kSanitized) {
        EXPECT_EQ(mask_available(road_in_limited_child(folder)), c.line);
      }
      continue;
    }
    input_test::fail_reads_of(c.failing_file, EIO);
    const std::string line = road(folder);
    input_test::fail_reads_of("", 0);
    EXPECT_EQ(line, replace_dir(c.line, folder.path()));
    if (!c.info.empty()) {
      const std::vector<std::string> lines = fake::lines(kInfoUnit);
      EXPECT_NE(std::find(lines.begin(), lines.end(), c.info), lines.end()) << c.info;
    }
    if (!c.line.empty()) continue;
    // Drawn: the window got a finite, non-empty world window, and the
    // animation ran to its closing beep.
    bool has_window = false;
    for (const fake::GfxCall& call : fake::gfx_calls(kFirstGraphUnit + 1)) {
      if (call.op != "set_window") continue;
      has_window = true;
      for (double v : call.args) EXPECT_TRUE(std::isfinite(v)) << v;
      EXPECT_LT(call.args[1], call.args[3]);
      EXPECT_NE(call.args[2], call.args[4]);
    }
    EXPECT_TRUE(has_window);
    ASSERT_EQ(fake::beeps().size(), 1u);
    EXPECT_EQ(fake::beeps()[0].frequency_hz, 1000);
  }
}

// Bytes the regular files in `folder` hold on the disk: a sparse file backs
// its size, not its memory.
std::uintmax_t folder_bytes(const std::string& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    struct stat info;
    if (::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode))
      bytes += static_cast<std::uintmax_t>(info.st_blocks) * 512;
  }
  return bytes;
}

// The address space the process has mapped now, in bytes.
std::uintmax_t mapped_bytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmSize:") {
      std::uintmax_t kib = 0;
      status >> kib;
      return kib * 1024;
    }
  }
  return 0;
}

// Reads what a run reads of `folder` (the load, then every stored step's
// node and element records) in a child process limited to the address space
// it has plus `allowance` bytes. The child's exit: 0 when it finished
// (whatever the load said), 3 when an allocation failed.
int input_in_limited_child(const std::string& folder, std::uintmax_t allowance) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(20);  // a hang ends the child by SIGALRM
    const rlim_t limit = static_cast<rlim_t>(mapped_bytes() + allowance);
    const struct rlimit address_space = {limit, limit};
    if (::setrlimit(RLIMIT_AS, &address_space) != 0) ::_exit(4);
    try {
      LoadResult loaded = load_problem(folder);
      if (loaded.status.is_ok()) {
        StepRecords records(*loaded.problem);
        if (records.open_u01().is_ok()) {
          std::vector<float> displacements, values;
          std::vector<std::int32_t> codes;
          for (std::int32_t s = 0; s <= loaded.problem->control.step_count; ++s) {
            if (!records.read_node_step(s, &displacements).is_ok()) break;
            if (!records.read_element_step(s, &values, &codes).is_ok()) break;
          }
        }
      }
    } catch (const std::bad_alloc&) {
      ::_exit(3);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

TEST(DamagedFolders, NoneTakesMoreThanItsFilesPlus64MiB) {
#ifdef VELTRA_SANITIZED
  GTEST_SKIP() << "the sanitizers reserve terabytes of shadow memory, which an address-space limit refuses";
#endif
  for (const Case& c : catalogue()) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    prepare(c, folder);
    input_test::fail_reads_of(c.failing_file, EIO);
    EXPECT_EQ(input_in_limited_child(folder.path(), folder_bytes(folder.path()) + (std::uintmax_t{64} << 20)), 0);
    input_test::fail_reads_of("", 0);
  }
}

}  // namespace

#include "input/control_data.h"

#include <algorithm>
#include <vector>

#include "base/shown_text.h"
#include "input/file_lookup.h"
#include "input/free_form.h"
#include "input/text_file.h"

namespace {

constexpr std::size_t kPathWidth = 255;
constexpr std::size_t kShortTextWidth = 20;

// Reads `count` lists of a node number and NGL values into `rows`. The
// values of a list are read into the node's row itself, so that a null value
// leaves what an earlier list for the node stored (0 when none did).
template <typename Value>
Status read_node_lists(FreeFormReader& reader, std::int32_t count, std::int32_t node_count, int ngl,
                       const std::string& what, std::unordered_map<std::int32_t, std::array<Value, 3>>* rows) {
  std::int32_t node = 0;  // a null node number keeps the previous list's node
  for (std::int32_t list = 0; list < count; ++list) {
    if (Status status = reader.begin_group(what); !status.is_ok()) return status;
    if (Status status = reader.read_value(FreeFormSlot::of(&node)); !status.is_ok()) return status;
    bool kept = node >= 1 && node <= node_count;
    std::array<Value, 3> values{};
    if (kept) {
      auto found = rows->find(node);
      if (found != rows->end()) values = found->second;
    }
    for (int j = 0; j < ngl; ++j) {
      if (Status status = reader.read_value(FreeFormSlot::of(&values[static_cast<std::size_t>(j)])); !status.is_ok()) {
        return status;
      }
    }
    if (kept) (*rows)[node] = values;
  }
  return Status::ok();
}

template <std::size_t N>
Status skip_reals(FreeFormReader& reader, const char* what) {
  std::array<float, N> values{};
  return reader.read_reals(what, values);
}

}  // namespace

Status read_control_data(const std::string& folder, ControlData* data) {
  *data = ControlData();
  std::string path = find_in_folder(folder, "comdin.dat");
  if (path.empty()) return Status::not_found("comdin.dat: not found in " + shown_text(folder));
  data->file_name = shown_name(path);
  TextLines file;
  if (Status status = file.open(path); !status.is_ok()) return status;
  FreeFormReader reader(data->file_name, &file);
  ProblemControl& control = data->control;

  std::array<std::int32_t, 8> sizes{};
  if (Status status = reader.read_integers("the sizes (group 1)", sizes); !status.is_ok()) return status;
  control.node_count = std::max(sizes[0], 0);
  control.restrained_count = std::max(sizes[1], 0);
  control.elastic_count = std::max(sizes[2], 0);
  control.element_count = std::max(sizes[3], 0);
  control.NGL = sizes[4];
  control.incidence_width = std::max(sizes[5], 0);
  if (control.NGL != 2 && control.NGL != 3) {
    return reader.error_at(reader.last_line(),
                           "NGL must be 2 or 3, found " + std::to_string(control.NGL));
  }

  if (Status status = read_node_lists(reader, control.restrained_count, control.node_count, control.NGL,
                                      "the restraint lists (group 2)", &data->restraint_rows);
      !status.is_ok()) {
    return status;
  }
  if (Status status = read_node_lists(reader, control.elastic_count, control.node_count, control.NGL,
                                      "the elastic-support lists (group 3)", &data->elastic_rows);
      !status.is_ok()) {
    return status;
  }

  {
    std::int32_t i1 = 0, i4 = 0, i6 = 0;
    float r5 = 0, r7 = 0;
    const FreeFormSlot slots[] = {FreeFormSlot::of(&i1), FreeFormSlot::of(&control.time_step),
                                  FreeFormSlot::of(&control.end_time), FreeFormSlot::of(&i4),
                                  FreeFormSlot::of(&r5), FreeFormSlot::of(&i6), FreeFormSlot::of(&r7)};
    if (Status status = reader.read_group("the time data (group 4)", slots); !status.is_ok()) return status;
  }
  {
    std::int32_t i1 = 0, points = 0;
    float r2 = 0, r3 = 0;
    const FreeFormSlot slots[] = {FreeFormSlot::of(&i1), FreeFormSlot::of(&r2), FreeFormSlot::of(&r3),
                                  FreeFormSlot::of(&points)};
    if (Status status = reader.read_group("the step data (group 5)", slots); !status.is_ok()) return status;
    control.step_count = std::max(points, 0) - 1;
  }
  {
    float r[4] = {};
    std::int32_t i5 = 0;
    const FreeFormSlot slots[] = {FreeFormSlot::of(&r[0]), FreeFormSlot::of(&r[1]), FreeFormSlot::of(&r[2]),
                                  FreeFormSlot::of(&r[3]), FreeFormSlot::of(&i5)};
    if (Status status = reader.read_group("group 6", slots); !status.is_ok()) return status;
  }
  for (int g = 0; g < 3; ++g) {
    if (Status status = skip_reals<3>(reader, "group 7"); !status.is_ok()) return status;
  }
  for (int g = 0; g < 3; ++g) {
    if (Status status = skip_reals<25>(reader, "group 8"); !status.is_ok()) return status;
  }
  for (int g = 0; g < 3; ++g) {
    if (Status status = skip_reals<25>(reader, "group 9"); !status.is_ok()) return status;
  }
  {
    float r[5] = {};
    std::int32_t i[5] = {};
    std::vector<FreeFormSlot> slots;
    for (float& v : r) slots.push_back(FreeFormSlot::of(&v));
    for (std::int32_t& v : i) slots.push_back(FreeFormSlot::of(&v));
    if (Status status = reader.read_group("group 10", slots); !status.is_ok()) return status;
  }

  std::string text;
  if (Status status = reader.read_text("the file names (group 11)", kPathWidth, &control.input_file_path);
      !status.is_ok()) {
    return status;
  }
  for (int line = 0; line < 2; ++line) {
    if (Status status = reader.read_text("the file names (group 11)", kPathWidth, &text); !status.is_ok()) return status;
  }
  for (int line = 0; line < 3; ++line) {
    if (Status status = reader.read_text("group 12", kShortTextWidth, &text); !status.is_ok()) return status;
  }
  if (Status status = reader.read_text("the last line (group 13)", kShortTextWidth, &text); !status.is_ok()) {
    return status;
  }
  return Status::ok();
}

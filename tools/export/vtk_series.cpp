#include "vtk_series.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string_view>

#include "whole_file.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned char kVtkEmptyCell = 0;
constexpr unsigned char kVtkLine = 3;

// Appends the little-endian bytes of each value.
template <class T>
void append_le(std::vector<unsigned char>& out, const T* values, std::size_t count) {
  const std::size_t at = out.size();
  out.resize(at + count * sizeof(T));
  if constexpr (std::endian::native == std::endian::little) {
    if (count > 0) std::memcpy(out.data() + at, values, count * sizeof(T));
  } else {
    for (std::size_t i = 0; i < count; ++i) {
      auto bits = std::bit_cast<std::array<unsigned char, sizeof(T)>>(values[i]);
      std::reverse(bits.begin(), bits.end());
      std::memcpy(out.data() + at + i * sizeof(T), bits.data(), sizeof(T));
    }
  }
}

template <class T>
void append_value(std::vector<unsigned char>& out, T value) {
  append_le(out, &value, 1);
}

// An appended block: its UInt64 byte count, then the bytes.
template <class T>
void append_block(std::vector<unsigned char>& out, const T* values, std::size_t count) {
  append_value<std::uint64_t>(out, count * sizeof(T));
  append_le(out, values, count);
}

// A 32-bit real as the shortest text that reads back to the same value.
std::string real_text(float value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string xml_escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        // A control character as a reference, which an attribute keeps as it
        // is (a newline written plainly would be read as a blank).
        if (static_cast<unsigned char>(c) < 0x20) out += "&#" + std::to_string(static_cast<int>(c)) + ";";
        else out += c;
    }
  }
  return out;
}

std::string array_xml(const char* type, const char* name, int components, std::uint64_t offset) {
  std::string xml = std::string("<DataArray type=\"") + type + "\"";
  if (name != nullptr) xml += std::string(" Name=\"") + name + "\"";
  if (components > 1) xml += " NumberOfComponents=\"" + std::to_string(components) + "\"";
  return xml + " format=\"appended\" offset=\"" + std::to_string(offset) + "\"/>\n";
}

std::string_view bytes(const std::vector<unsigned char>& data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

}  // namespace

VtkSeries::VtkSeries(std::string pvd_path) : pvd_path_(std::move(pvd_path)) {}

VtkSeries::~VtkSeries() { abandon(); }

std::string VtkSeries::vtu_name(const std::string& pvd_path, std::int64_t frame, std::int64_t frames) {
  const std::string digits = std::to_string(std::max<std::int64_t>(frames - 1, 0));
  std::string number = std::to_string(frame);
  const std::size_t width = std::max<std::size_t>(4, digits.size());
  if (number.size() < width) number.insert(0, width - number.size(), '0');
  return fs::path(pvd_path).stem().string() + "-" + number + ".vtu";
}

Status VtkSeries::fail(Status status) {
  abandon();
  return status;
}

Status VtkSeries::begin(const Problem& problem, std::int64_t frames) {
  problem_ = &problem;
  frames_ = frames;
  const ProblemControl& c = problem.control;
  const std::size_t nodes = static_cast<std::size_t>(std::max(c.node_count, 0));
  const std::size_t ngl = static_cast<std::size_t>(std::max(c.NGL, 0));
  const std::size_t elements = std::min({static_cast<std::size_t>(std::max(c.element_count, 0)),
                                         problem.element_node1.size(), problem.element_node2.size()});
  if (problem.node_coords_table.size() < nodes * ngl)
    return fail(Status::damaged(pvd_path_ + ": the model has fewer coordinates than nodes"));

  // Points: the coordinates in 3-D.
  std::vector<float> xyz(nodes * 3, 0.0f);
  for (std::size_t n = 0; n < nodes; ++n)
    for (std::size_t k = 0; k < std::min<std::size_t>(ngl, 3); ++k) xyz[3 * n + k] = problem.node_coords_table[n * ngl + k];
  points_.clear();
  append_block(points_, xyz.data(), xyz.size());

  // Cells: connectivity, offsets and types, one cell an element.
  std::vector<std::int64_t> connectivity, offsets;
  std::vector<unsigned char> types;
  connectivity.reserve(2 * elements);
  offsets.reserve(elements);
  types.reserve(elements);
  for (std::size_t e = 0; e < elements; ++e) {
    const std::int64_t a = problem.element_node1[e], b = problem.element_node2[e];
    const bool line = problem.element_joins_nodes(static_cast<int>(e) + 1);
    if (line) {
      connectivity.push_back(a - 1);
      connectivity.push_back(b - 1);
    }
    offsets.push_back(static_cast<std::int64_t>(connectivity.size()));
    types.push_back(line ? kVtkLine : kVtkEmptyCell);
  }
  wide_ = connectivity.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  cells_.clear();
  const auto append_ids = [&](const std::vector<std::int64_t>& ids) {
    if (wide_) {
      append_block(cells_, ids.data(), ids.size());
      return;
    }
    std::vector<std::int32_t> narrow(ids.begin(), ids.end());
    append_block(cells_, narrow.data(), narrow.size());
  };
  cell_blocks_[0] = cells_.size();
  append_ids(connectivity);
  cell_blocks_[1] = cells_.size();
  append_ids(offsets);
  cell_blocks_[2] = cells_.size();
  append_block(cells_, types.data(), types.size());
  written_.clear();
  return Status::ok();
}

Status VtkSeries::add(float time, const std::vector<float>& displacements, const std::vector<float>& values,
                      const std::vector<std::int32_t>& codes) {
  if (problem_ == nullptr) return Status::io_error(pvd_path_ + ": the series was not begun");
  const ProblemControl& c = problem_->control;
  const std::size_t nodes = static_cast<std::size_t>(std::max(c.node_count, 0));
  const std::size_t ngl = static_cast<std::size_t>(std::max(c.NGL, 0));
  const std::size_t elements = std::min({static_cast<std::size_t>(std::max(c.element_count, 0)),
                                         problem_->element_node1.size(), problem_->element_node2.size()});
  const std::int64_t frame = static_cast<std::int64_t>(written_.size());
  const std::string name = vtu_name(pvd_path_, frame, frames_);
  const std::string path = (fs::path(pvd_path_).parent_path() / name).string();
  if (displacements.size() < nodes * ngl || values.size() < elements || codes.size() < elements)
    return fail(Status::damaged(path + ": the step has fewer records than the model has nodes or elements"));

  // The step's blocks, in the order the XML names them.
  std::vector<unsigned char>& step = scratch_;
  step.clear();
  std::vector<float>& u = vectors_;
  u.assign(nodes * 3, 0.0f);
  for (std::size_t n = 0; n < nodes; ++n)
    for (std::size_t k = 0; k < std::min<std::size_t>(ngl, 3); ++k) u[3 * n + k] = displacements[n * ngl + k];
  append_block(step, u.data(), u.size());
  const std::uint64_t value_at = step.size();
  append_block(step, values.data(), elements);
  const std::uint64_t code_at = step.size();
  append_block(step, codes.data(), elements);
  const std::uint64_t points_at = step.size();
  const std::uint64_t cells_at = points_at + points_.size();

  std::string xml =
      "<?xml version=\"1.0\"?>\n"
      "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n"
      "<UnstructuredGrid>\n<Piece NumberOfPoints=\"" +
      std::to_string(nodes) + "\" NumberOfCells=\"" + std::to_string(elements) +
      "\">\n<PointData Vectors=\"Displacement\">\n" + array_xml("Float32", "Displacement", 3, 0) +
      "</PointData>\n<CellData Scalars=\"ElementValue\">\n" + array_xml("Float32", "ElementValue", 1, value_at) +
      array_xml("Int32", "ElementCode", 1, code_at) + "</CellData>\n<Points>\n" +
      array_xml("Float32", nullptr, 3, points_at) + "</Points>\n<Cells>\n";
  const char* id_type = wide_ ? "Int64" : "Int32";
  xml += array_xml(id_type, "connectivity", 1, cells_at + cell_blocks_[0]) +
         array_xml(id_type, "offsets", 1, cells_at + cell_blocks_[1]) +
         array_xml("UInt8", "types", 1, cells_at + cell_blocks_[2]);
  xml += "</Cells>\n</Piece>\n</UnstructuredGrid>\n<AppendedData encoding=\"raw\">\n_";
  const std::string tail = "\n</AppendedData>\n</VTKFile>\n";

  written_.push_back({std::make_unique<WholeFile>(path), time});
  const Status status =
      written_.back().file->write({xml, bytes(step), bytes(points_), bytes(cells_), tail});
  return status.is_ok() ? status : fail(status);
}

Status VtkSeries::finish() {
  if (problem_ == nullptr) return Status::io_error(pvd_path_ + ": the series was not begun");
  std::string xml =
      "<?xml version=\"1.0\"?>\n"
      "<VTKFile type=\"Collection\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n"
      "<Collection>\n";
  for (const Written& w : written_)
    xml += "<DataSet timestep=\"" + real_text(w.time) + "\" group=\"\" part=\"0\" file=\"" +
           xml_escaped(fs::path(w.file->path()).filename().string()) + "\"/>\n";
  xml += "</Collection>\n</VTKFile>\n";
  WholeFile pvd(pvd_path_);
  if (Status status = pvd.write({xml}); !status.is_ok()) return fail(status);
  // The .vtu files take their names first, OUT.pvd last; when one cannot,
  // those named already are removed again.
  for (std::size_t i = 0; i < written_.size(); ++i) {
    if (Status status = written_[i].file->commit(); !status.is_ok()) {
      for (std::size_t j = 0; j < i; ++j) {
        std::error_code ignored;
        fs::remove(written_[j].file->path(), ignored);
      }
      return fail(status);
    }
  }
  if (Status status = pvd.commit(); !status.is_ok()) {
    for (const Written& w : written_) {
      std::error_code ignored;
      fs::remove(w.file->path(), ignored);
    }
    return fail(status);
  }
  written_.clear();
  problem_ = nullptr;
  return Status::ok();
}

void VtkSeries::abandon() { written_.clear(); }

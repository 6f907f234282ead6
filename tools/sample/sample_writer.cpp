#include "sample_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "input/result_format.h"
#include "list_output.h"
#include "result_folder.h"

namespace sample {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Little-endian binary output with a buffer of its own.
class BinaryOut {
 public:
  Status open(const std::string& path) {
    path_ = path;
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) return Status::from_errno(path + ": cannot be written", errno);
    return Status::ok();
  }
  // Appends `bytes` zero bytes and returns where they start, for a record
  // encoder to fill in; valid until the next call.
  unsigned char* put_record(std::int64_t bytes) {
    flush_if_full();
    buffer_.insert(buffer_.end(), static_cast<std::size_t>(bytes), 0);
    return buffer_.data() + buffer_.size() - static_cast<std::size_t>(bytes);
  }
  Status close() {
    flush();
    bool failed = std::ferror(file_.get()) != 0;
    failed = std::fclose(file_.release()) != 0 || failed;
    if (failed) return Status::io_error(path_ + ": cannot be written");
    return Status::ok();
  }

 private:
  void flush_if_full() {
    if (buffer_.size() >= (1u << 20)) flush();
  }
  void flush() {
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get());
    buffer_.clear();
  }
  std::string path_;
  File file_;
  std::vector<unsigned char> buffer_;
};

Status write_text(const std::string& path, const std::string& text) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return Status::from_errno(path + ": cannot be written", errno);
  bool ok = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  ok = std::fclose(file.release()) == 0 && ok;
  return ok ? Status::ok() : Status::io_error(path + ": cannot be written");
}

std::vector<ListValue> reals(std::initializer_list<float> values) {
  return std::vector<ListValue>(values.begin(), values.end());
}

std::string comdin_text(const SampleModel& model, const std::string& input_path, const std::string& folder) {
  const int ngl = model.NGL;
  const float end_time = static_cast<float>(model.last_step) * model.time_step;
  std::string text;
  // 1: sizes, then the number of materials and of load cases.
  text += list_directed({model.node_count(), static_cast<std::int32_t>(model.restraints.size()),
                         static_cast<std::int32_t>(model.elastic.size()), model.element_count(), ngl,
                         model.incidence_width, std::int32_t{1}, std::int32_t{1}});
  // 2 and 3: restraint and elastic-support lists.
  for (const RestraintList& list : model.restraints) {
    std::vector<ListValue> values{list.node};
    for (int j = 0; j < ngl; ++j) values.push_back(list.code[static_cast<std::size_t>(j)]);
    text += list_directed(values);
  }
  for (const ElasticList& list : model.elastic) {
    std::vector<ListValue> values{list.node};
    for (int j = 0; j < ngl; ++j) values.push_back(list.value[static_cast<std::size_t>(j)]);
    text += list_directed(values);
  }
  // 4: integration method, time step, end time, output interval, beta,
  // iteration limit, gamma.
  text += list_directed({std::int32_t{2}, model.time_step, end_time, std::int32_t{1}, 0.25f, std::int32_t{10}, 0.5f});
  // 5: first output step, start and end time, number of stored time points.
  text += list_directed({std::int32_t{1}, 0.0f, end_time, model.last_step + 1});
  // 6: Rayleigh damping factors, gravity, ground-motion scale, record count.
  text += list_directed({0.2513f, 0.0019f, 9.81f, 1.0f, model.last_step + 1});
  // 7: ground-motion direction cosines, three directions.
  text += list_directed(reals({1.0f, 0.0f, 0.0f}));
  text += list_directed(reals({0.0f, ngl == 3 ? 1.0f : 0.0f, 0.0f}));
  text += list_directed(reals({0.0f, 0.0f, 0.0f}));
  // 8 and 9: spectrum periods and ordinates, three directions of 25.
  for (int g = 0; g < 3; ++g) {
    std::vector<ListValue> values;
    for (int i = 0; i < 25; ++i) values.push_back(g == 0 ? 0.04f * static_cast<float>(i + 1) : 0.0f);
    text += list_directed(values);
  }
  for (int g = 0; g < 3; ++g) {
    std::vector<ListValue> values;
    for (int i = 0; i < 25; ++i) {
      values.push_back(g == 0 ? (i < 5 ? 2.5f : 2.5f * 5.0f / static_cast<float>(i + 1)) : 0.0f);
    }
    text += list_directed(values);
  }
  // 10: convergence tolerances and counters.
  text += list_directed({1.0e-4f, 1.0e-6f, 0.0f, 0.0f, 1.0f, std::int32_t{0}, std::int32_t{0},
                         std::int32_t{1}, std::int32_t{0}, std::int32_t{0}});
  // 11: input file, listing, ground-motion record; 12: record name and
  // units; 13: the language.
  text += input_path + "\n";
  text += std::filesystem::path(folder).append(std::string(kind_name(model.kind)) + ".lst").string() + "\n";
  text += std::filesystem::path(folder).append("ground.acc").string() + "\n";
  text += "EL CENTRO 1940 NS\nkN\nm\n";
  text += "English\n";
  return text;
}

std::string input_text(const SampleModel& model) {
  std::string text;
  text += "// TARVEK input file\n";
  text += "// dynamic analysis, written by veltra-sample\n";
  text += model.title + "\n";
  text += "NODES " + std::to_string(model.node_count()) + "\n";
  for (std::int32_t n = 1; n <= model.node_count() && n <= 1000; ++n) {
    text += std::to_string(n);
    for (int j = 1; j <= model.NGL; ++j) text += " " + list_real(model.coord(n, j));
    text += "\n";
  }
  text += "ELEMENTS " + std::to_string(model.element_count()) + "\n";
  text += "END\n";
  return text;
}

Status write_geometry(const SampleModel& model, const std::string& folder) {
  const int ngl = model.NGL;
  BinaryOut x;
  if (Status status = x.open(folder + "/x.unf"); !status.is_ok()) return status;
  for (std::int32_t n = 1; n <= model.node_count(); ++n) {
    float coords[3] = {};
    for (int j = 1; j <= ngl; ++j) coords[j - 1] = model.coord(n, j);
    // The reserve of the record (the node's local axes) stays 0.
    encode_x_record(ngl, coords, x.put_record(x_record_bytes(ngl)));
  }
  if (Status status = x.close(); !status.is_ok()) return status;

  BinaryOut nei;
  if (Status status = nei.open(folder + "/nei.unf"); !status.is_ok()) return status;
  const std::size_t width = static_cast<std::size_t>(model.incidence_width);
  const std::size_t count = width + static_cast<std::size_t>(model.incidence_extra);
  std::vector<std::int32_t> integers(count);
  for (std::int32_t n = 1; n <= model.node_count(); ++n) {
    // The node's incidence pairs, then the number of elements it names and
    // zeros: data beyond incidence_width, which the reader skips.
    std::int32_t named = 0;
    for (std::size_t i = 0; i < width; ++i) {
      std::int32_t e = model.incidence[static_cast<std::size_t>(n - 1) * width + i];
      integers[i] = e;
      named += e > 0 ? 1 : 0;
    }
    for (std::size_t i = width; i < count; ++i) integers[i] = i == width ? named : 0;
    const auto length = static_cast<std::int64_t>(count);
    encode_nei_record(integers.data(), length, nei.put_record(nei_record_bytes(kWordBytes * length)));
  }
  return nei.close();
}

Status write_steps(const SampleModel& model, const std::string& folder) {
  const int ngl = model.NGL;
  BinaryOut u01, el;
  if (Status status = u01.open(folder + "/u01.unf"); !status.is_ok()) return status;
  if (Status status = el.open(folder + "/el.unf"); !status.is_ok()) return status;
  std::vector<float> now, before, value;
  std::vector<std::int32_t> code;
  const float dt = model.time_step;
  for (std::int32_t step = 0; step <= model.last_step; ++step) {
    step_displacements(model, step, &now);
    if (step == 0) before = now;
    for (std::size_t n = 0; n < static_cast<std::size_t>(model.node_count()); ++n) {
      // Displacements, then velocities (by difference); the rest of the
      // record (accelerations and reserve) is left 0.
      const std::size_t first = n * static_cast<std::size_t>(ngl);
      float velocity[3] = {};
      for (int j = 0; j < ngl; ++j) {
        std::size_t i = first + static_cast<std::size_t>(j);
        velocity[j] = (now[i] - before[i]) / dt;
      }
      encode_u01_record(ngl, &now[first], velocity, u01.put_record(u01_record_bytes(ngl)));
    }
    element_states(model, now, &value, &code);
    for (std::size_t e = 0; e < value.size(); ++e) {
      auto [a, b] = model.elements[e];
      // End forces (a multiple of the relative displacement), the axial
      // strain, the element's value and code; the reserve stays 0.
      float end_force[3] = {};
      for (int j = 0; j < ngl; ++j) {
        std::size_t ia = static_cast<std::size_t>((a - 1) * ngl + j), ib = static_cast<std::size_t>((b - 1) * ngl + j);
        end_force[j] = 1.0e4f * (now[ib] - now[ia]);
      }
      encode_el_record(ngl, end_force, 1.0e-3f * static_cast<float>(e % 7), value[e], code[e],
                       el.put_record(el_record_bytes(ngl)));
    }
    before = now;
  }
  if (Status status = u01.close(); !status.is_ok()) return status;
  return el.close();
}

}  // namespace

std::string input_file_name(const SampleModel& model) { return std::string(kind_name(model.kind)) + ".dat"; }

Status write_sample(const SampleModel& model, const std::string& folder_argument) {
  std::error_code error;
  std::filesystem::create_directories(folder_argument, error);
  if (error) return Status::io_error(folder_argument + ": cannot be created: " + error.message());
  const std::string folder = absolute_folder(folder_argument);

  std::string input_path = folder + "/" + input_file_name(model);
  if (Status status = write_text(input_path, input_text(model)); !status.is_ok()) return status;
  if (Status status = write_text(folder + "/comdin.dat", comdin_text(model, input_path, folder)); !status.is_ok()) {
    return status;
  }
  if (Status status = write_geometry(model, folder); !status.is_ok()) return status;
  return write_steps(model, folder);
}

}  // namespace sample

// Helpers of the problem-input tests: a temporary folder that cleans up
// after itself, and writers of small comdin.dat, x.unf, nei.unf, u01.unf and
// el.unf files laid out byte by byte.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace input_test {

// A fresh folder under /tmp, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    char name[] = "/tmp/veltra-input-XXXXXX";
    char* made = ::mkdtemp(name);
    path_ = made != nullptr ? made : "";
  }
  ~TempFolder() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // Writes `bytes` to `name` (sub-folders created as needed).
  void write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path target(file(name));
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out << bytes;
  }
  void write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    write(name, std::string(bytes.begin(), bytes.end()));
  }
  std::string make_folder(const std::string& name) const {
    std::filesystem::create_directories(file(name));
    return file(name);
  }

 private:
  std::string path_;
};

// Little-endian bytes.
class Bytes {
 public:
  Bytes& i32(std::int32_t v) {
    std::uint32_t u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k) data.push_back(static_cast<unsigned char>(u >> (8 * k)));
    return *this;
  }
  Bytes& f32(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    return i32(static_cast<std::int32_t>(u));
  }
  Bytes& zeros(std::size_t n) {
    data.insert(data.end(), n, 0);
    return *this;
  }
  std::vector<unsigned char> data;
};

// x.unf: one record of 16 x NGL bytes per node, coordinates first.
inline std::vector<unsigned char> x_file(int ngl, const std::vector<std::vector<float>>& nodes) {
  Bytes b;
  for (const auto& node : nodes) {
    for (int j = 0; j < ngl; ++j) b.f32(node[static_cast<std::size_t>(j)]);
    b.zeros(static_cast<std::size_t>(12 * ngl));
  }
  return b.data;
}

// nei.unf: one sequential record per node, framed by its length in bytes.
inline std::vector<unsigned char> nei_file(const std::vector<std::vector<std::int32_t>>& records) {
  Bytes b;
  for (const auto& record : records) {
    std::int32_t length = static_cast<std::int32_t>(4 * record.size());
    b.i32(length);
    for (std::int32_t v : record) b.i32(v);
    b.i32(length);
  }
  return b.data;
}

// The groups of a comdin.dat after the lists (groups 4 to 13), with
// `stored_points` time points and the given input file path.
inline std::string comdin_tail(float time_step, float end_time, int stored_points, const std::string& input_path) {
  std::string text;
  text += " 1 " + std::to_string(time_step) + " " + std::to_string(end_time) + " 1 0.25 10 0.5\n";
  text += " 1 0.0 " + std::to_string(end_time) + " " + std::to_string(stored_points) + "\n";
  text += " 0.1 0.2 9.81 1.0 5\n";
  text += " 1.0 0.0 0.0\n 0.0 1.0 0.0\n 0.0 0.0 0.0\n";
  for (int g = 0; g < 6; ++g) text += " 25*0.0\n";
  text += " 1e-4 1e-6 0 0 1 0 0 1 0 0\n";
  text += input_path + "\n/out/listing.lst\n/out/ground.acc\n";
  text += "EL CENTRO\nkN\nm\nEnglish\n";
  return text;
}

// A whole comdin.dat: the sizes line, the lists as given (one text per
// list, line ends included), then comdin_tail.
inline std::string comdin(const std::string& sizes, const std::string& lists, int stored_points = 11,
                          const std::string& input_path = "/nowhere/beam.dat", float time_step = 0.5f) {
  return sizes + "\n" + lists + comdin_tail(time_step, time_step * static_cast<float>(stored_points - 1),
                                            stored_points, input_path);
}

}  // namespace input_test

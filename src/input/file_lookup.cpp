#include "input/file_lookup.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "base/shown_text.h"

namespace {

bool exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower_ascii(a[i]) != lower_ascii(b[i])) return false;
  }
  return true;
}

bool is_blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::string join_path(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string_view name_of(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string shown_name(std::string_view path) {
  std::string_view name = name_of(path);
  if (name.empty() || name == "." || name == "..") return shown_text(path);
  return shown_text(name);
}

std::string absolute_path(const std::string& path, const std::string& base_folder) {
  if (!path.empty() && path.front() == '/') return path;
  if (base_folder.empty()) return path;
  return join_path(base_folder, path);
}

std::string find_in_folder(const std::string& folder, std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return "";
  std::string exact = join_path(folder.empty() ? std::string(".") : folder, name);
  if (exists(exact)) return exact;

  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return "";
  std::string best;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view entry_name(entry->d_name);
    if (equal_ignoring_case(entry_name, name) && (best.empty() || entry_name < best)) {
      best = entry_name;
    }
  }
  ::closedir(dir);
  if (best.empty()) return "";
  return join_path(folder.empty() ? std::string(".") : folder, best);
}

std::string find_path(const std::string& path, const std::string& base_folder) {
  if (path.empty()) return "";
  std::string full = absolute_path(path, base_folder);
  std::string_view name = name_of(full);
  if (name.empty() || name == "." || name == "..") return exists(full) ? full : "";
  return find_in_folder(folder_of(full), name);
}

std::string find_file(std::string_view name, const std::string& current_folder) {
  // The system reads a name only up to its first NUL byte, so a name padded
  // with NULs is looked for as what comes before them. What is left may be
  // empty or blank (a name that began with a NUL): such a name is not found,
  // rather than naming the folder searched.
  name = name.substr(0, name.find('\0'));
  if (is_blank(name)) return "";
  std::string text(name);
  if (text.find('/') != std::string::npos) return find_path(text, current_folder);
  std::string program = program_directory();
  if (!program.empty()) {
    std::string found = find_in_folder(program, text);
    if (!found.empty()) return found;
  }
  return find_in_folder(current_folder.empty() ? std::string(".") : current_folder, text);
}

std::string find_file(std::string_view name) { return find_file(name, current_directory()); }

std::string current_directory() {
  std::vector<char> buffer(PATH_MAX + 1);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return "";
  return std::string(buffer.data());
}

std::string program_directory() {
  std::vector<char> buffer(PATH_MAX + 1);
  ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return "";
  return folder_of(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

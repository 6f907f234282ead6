// Finding files by name: in a folder (exact name first, then the same name in
// any letter case), and on the program's search path (the program's own
// folder, then the current directory).
//
// Result folders are often written on systems that ignore letter case, so a
// file asked for as "comdin.dat" may be stored as "COMDIN.DAT"; every file the
// problem input opens is looked up through find_in_folder.
#pragma once

#include <string>
#include <string_view>

// The full path of the entry `name` of `folder`: the exact name when it
// exists, otherwise the first entry (in byte order of the names) that equals
// `name` ignoring ASCII letter case; empty when there is none. `name` must be
// a plain name without "/". Any kind of entry counts (file or folder).
std::string find_in_folder(const std::string& folder, std::string_view name);

// As find_in_folder, for a path: the folder part is taken as it is, the last
// component is matched in any letter case. A relative path is taken relative
// to `base_folder`. Empty when not found.
std::string find_path(const std::string& path, const std::string& base_folder);

// Where the program looks for a name with no folder part: its own folder
// (the folder of /proc/self/exe), then `current_folder`. A name with a folder
// part is only tested for existence (find_path relative to `current_folder`).
// The name is taken up to its first NUL byte, as the system reads it.
// Returns the full path found, empty when nothing is found or the name (up
// to that byte) is blank.
std::string find_file(std::string_view name, const std::string& current_folder);

// find_file with the process's current directory.
std::string find_file(std::string_view name);

// The process's current directory; empty when it cannot be told.
std::string current_directory();

// The folder holding the running program; empty when it cannot be told.
std::string program_directory();

// `folder` + "/" + `name`, without doubling a "/" that ends `folder`.
std::string join_path(const std::string& folder, std::string_view name);

// The folder part of `path` without its trailing "/" ("/" for a file in the
// root, "" for a bare name).
std::string folder_of(const std::string& path);

// The last component of `path`.
std::string_view name_of(std::string_view path);

// How messages name the file at `path`: its last component, or the whole
// path when that is empty, "." or ".." (a path ending in "/"), so that a
// message never begins with a bare colon.
std::string shown_name(std::string_view path);

// `path` made absolute against `base_folder` when it is relative.
std::string absolute_path(const std::string& path, const std::string& base_folder);

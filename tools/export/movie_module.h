// Where the movie writer lives: FFmpeg's libraries are a hundred and more
// shared libraries, whose loading took most of the start of veltra-export
// and the Explorer, so the writer (movie_file.cpp) is a module of its own,
// veltra-movie.so in the programs' module folder beside their bin/, loaded
// the first time a movie is made.
#pragma once

#include <string>

// The module's file for the running program: VELTRA_MODULE_DIR (say
// lib/x86_64-linux-gnu/veltra) under the parent of the program's folder.
std::string movie_module_path();

// Opening the files the program reads: regular files only.
//
// Anything else in a file's place is refused before a byte is read: a folder,
// a device (/dev/zero would never end), a FIFO (whose open and reads would
// wait for a writer for ever) or a socket.
#pragma once

#include <string>

#include "base/status.h"

// Opens `path` read-only and sets *fd when it is a regular file. The open
// itself does not block (a FIFO without a writer is refused, not waited
// for); reads on the descriptor block as usual. Errors name the file by
// `name`: not_found or io_error with the system's reason ("x.unf: cannot be
// opened: Too many levels of symbolic links"), not_regular_file ("x.unf: is
// not a regular file").
Status open_regular_file(const std::string& path, const std::string& name, int* fd);

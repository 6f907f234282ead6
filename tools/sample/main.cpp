// veltra-sample: writes sample result folders for the viewer.
//
//   veltra-sample --kind portal|space|cantilever|grid [--steps N] [--nodes N] DIR
//   veltra-sample --all WORKDIR     (WORKDIR/portal, WORKDIR/space, WORKDIR/cantilever)
//
// --steps N stores steps 0 to N (N + 1 time points); --nodes N is the grid's
// node count (about 2 N elements).

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "sample_model.h"
#include "sample_writer.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: veltra-sample --kind portal|space|cantilever|grid [--steps N] [--nodes N] DIR\n"
               "       veltra-sample --all WORKDIR\n");
}

std::optional<std::int32_t> positive(const char* text) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > 100000000) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

int write(sample::Kind kind, sample::SampleSize size, const std::string& folder) {
  sample::SampleModel model = sample::make_sample(kind, size);
  Status status = sample::write_sample(model, folder);
  if (!status) {
    std::fprintf(stderr, "veltra-sample: %s\n", status.message().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<sample::Kind> kind;
  sample::SampleSize size;
  std::string folder;
  bool all = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool has_value = i + 1 < argc;
    if (arg == "--all") {
      all = true;
    } else if (arg == "--kind" && has_value) {
      kind = sample::kind_from_name(argv[++i]);
      if (!kind) {
        usage();
        return 1;
      }
    } else if ((arg == "--steps" || arg == "--nodes") && has_value) {
      std::optional<std::int32_t> value = positive(argv[++i]);
      if (!value) {
        usage();
        return 1;
      }
      (arg == "--steps" ? size.steps : size.nodes) = *value;
    } else if (!arg.empty() && arg[0] != '-' && folder.empty()) {
      folder = std::string(arg);
    } else {
      usage();
      return 1;
    }
  }
  if (folder.empty() || all == kind.has_value()) {
    usage();
    return 1;
  }
  if (all) {
    for (sample::Kind k : {sample::Kind::portal, sample::Kind::space, sample::Kind::cantilever}) {
      if (int rc = write(k, size, folder + "/" + std::string(sample::kind_name(k))); rc != 0) return rc;
    }
    return 0;
  }
  return write(*kind, size, folder);
}

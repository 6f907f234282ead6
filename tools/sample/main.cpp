// veltra-sample: writes sample result folders for the viewer and the tools.
// The command line is read with CLI11.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string>

#include "cli_help.h"
#include "sample_model.h"
#include "sample_writer.h"

namespace {

constexpr int kExitError = 2;

int write(sample::Kind kind, sample::SampleSize size, const std::string& folder) {
  sample::SampleModel model = sample::make_sample(kind, size);
  Status status = sample::write_sample(model, folder);
  if (!status.is_ok()) {
    std::fprintf(stderr, "veltra-sample: %s\n", status.message().c_str());
    return kExitError;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes complete TARVEK result folders (comdin.dat, x.unf, nei.unf, u01.unf, el.unf and the "
               "analysis input file) of sample structures with a made-up but plausible vibration history.",
               "veltra-sample"};
  use_usage_first_help(&app);
  app.set_version_flag("--version", "veltra-sample " VELTRA_VERSION, "Show the version and exit.");
  std::string kind_name;
  std::string folder;
  sample::SampleSize size;
  bool all = false;
  CLI::Option* kind_option =
      app.add_option("--kind", kind_name,
                     "The structure: portal (a plane frame of three\nbays and two storeys), space (a spatial frame),\n"
                     "cantilever (a plane cantilever of four elements)\nor grid (a plane grid of --nodes nodes and about\n"
                     "twice as many elements, for large models).")
          ->option_text("KIND")
          ->check(CLI::IsMember({"portal", "space", "cantilever", "grid"}));
  CLI::Option* all_option =
      app.add_flag("--all", all, "Write the three small samples into DIR/portal,\nDIR/space and DIR/cantilever.");
  app.add_option("--steps", size.steps, "Store steps 0 to N (default: the kind's own).")
      ->option_text("N")
      ->check(CLI::Range(1, 100000000));
  app.add_option("--nodes", size.nodes, "Node count of the grid (default: the kind's own).")
      ->option_text("N")
      ->check(CLI::Range(1, 100000000));
  app.add_option("DIR", folder, "The folder to write (made with its parents).")->required();
  kind_option->excludes(all_option);
  app.footer(
      "One of --kind and --all is needed.\n"
      "\nExamples:\n"
      "  veltra-sample --all work\n"
      "  veltra-sample --kind grid --nodes 500000 --steps 20 big\n"
      "\nExit status: 0 on success, 2 on a usage error or a file that cannot be written.");
  try {
    app.parse(argc, argv);
    if (kind_option->count() == 0 && all_option->count() == 0)
      throw CLI::RequiredError("--kind or --all");
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::CallForVersion& e) {
    std::printf("%s\n", e.what());
    return 0;
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "veltra-sample: %s (see veltra-sample --help)\n", e.what());
    return kExitError;
  }

  if (all) {
    for (sample::Kind k : {sample::Kind::portal, sample::Kind::space, sample::Kind::cantilever}) {
      if (int rc = write(k, size, folder + "/" + std::string(sample::kind_name(k))); rc != 0) return rc;
    }
    return 0;
  }
  return write(*sample::kind_from_name(kind_name), size, folder);
}

// veltra-sample: writes sample result folders for the viewer and the tools.
#include <string>

#include "command_line.h"
#include "exit_status.h"
#include "sample_model.h"
#include "sample_writer.h"

namespace {

constexpr char kProgram[] = "veltra-sample";

int write(sample::Kind kind, sample::SampleSize size, const std::string& folder) {
  return report_failure(kProgram, sample::write_sample(sample::make_sample(kind, size), folder));
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine command_line(kProgram,
                           "Writes complete TARVEK result folders (comdin.dat, x.unf, nei.unf, u01.unf, el.unf "
                           "and the analysis input file) of sample structures with a made-up but plausible "
                           "vibration history.",
                           "a folder or file that cannot be written");
  CLI::App& app = command_line.app();
  std::string kind_name;
  std::string folder;
  sample::SampleSize size;
  bool all = false;
  CLI::Option* kind_option =
      app.add_option("--kind", kind_name,
                     "The structure: portal (a plane frame of three bays and two storeys), space (a spatial "
                     "frame), cantilever (a plane cantilever of four elements) or grid (a plane grid of --nodes "
                     "nodes and about twice as many elements, for large models).")
          ->option_text("KIND")
          ->check(CLI::IsMember({"portal", "space", "cantilever", "grid"}));
  CLI::Option* all_option =
      app.add_flag("--all", all, "Write the three small samples into DIR/portal, DIR/space and DIR/cantilever.");
  app.add_option("--steps", size.steps, "Store steps 0 to N (default: the kind's own).")
      ->option_text("N")
      ->check(CLI::Range(1, 100000000));
  app.add_option("--nodes", size.nodes, "Node count of the grid (default: the kind's own).")
      ->option_text("N")
      ->check(CLI::Range(1, 100000000));
  app.add_option("DIR", folder, "The folder to write (made with its parents).")->required();
  kind_option->excludes(all_option);
  command_line.set_footer("One of --kind and --all is needed.",
                          "  veltra-sample --all work\n"
                          "  veltra-sample --kind grid --nodes 500000 --steps 20 big");
  command_line.set_check([&] {
    if (kind_option->count() == 0 && all_option->count() == 0)
      return Status::invalid_argument("--kind or --all is required");
    return Status::ok();
  });
  if (std::optional<int> exit = command_line.parse(argc, argv)) return *exit;

  if (all) {
    for (sample::Kind k : {sample::Kind::portal, sample::Kind::space, sample::Kind::cantilever}) {
      if (int status = write(k, size, folder + "/" + std::string(sample::kind_name(k))); status != kExitDone)
        return status;
    }
    return kExitDone;
  }
  return write(*sample::kind_from_name(kind_name), size, folder);
}

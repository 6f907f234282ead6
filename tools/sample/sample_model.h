// Sample problems for the viewer: small, realistic structures with a made-up
// but plausible vibration history, and large grids for benchmarks.
//
// A model holds its geometry, supports and modal shapes; the values of every
// step are computed from it on demand (step_displacements, element_states),
// so that the writer and anyone checking what was written get the very same
// numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sample {

enum class Kind { portal, space, cantilever, grid };

// "portal", "space", "cantilever", "grid".
std::string_view kind_name(Kind kind);
std::optional<Kind> kind_from_name(std::string_view name);

struct RestraintList {
  std::int32_t node = 0;
  std::array<std::int32_t, 3> code{};  // directions 1..NGL
};

struct ElasticList {
  std::int32_t node = 0;
  std::array<float, 3> value{};  // directions 1..NGL
};

// One vibration mode: u(n, j, t) = amplitude * shape(n, j) * e(t) * sin(omega t),
// with the envelope e(t) = (t / peak_time) exp(1 - t / peak_time), which
// grows from 0, is 1 at peak_time and then dies away.
struct Mode {
  std::vector<float> shape;  // node-major, node_count x NGL
  double amplitude = 0;
  double omega = 0;  // rad/s
  double peak_time = 1;
};

// Element line styles as the viewer draws them: a non-zero value is solid;
// value 0 with code -1 dashed (a yielding hinge), value 0 with another code
// dotted (a cracked member).
constexpr std::int32_t kCodeHinge = -1;
constexpr std::int32_t kCodeCracked = 2;

struct SampleModel {
  Kind kind = Kind::portal;
  std::string title;    // title line of the analysis input file
  std::int32_t NGL = 2;
  std::vector<float> coords;                            // node-major, node_count x NGL
  std::vector<std::array<std::int32_t, 2>> elements;    // first and second end node
  std::vector<std::int32_t> yield_code;                 // per element: code when it yields
  std::vector<float> yield_threshold;                   // per element: drift ratio at which it yields
  std::vector<RestraintList> restraints;                // in the order written
  std::vector<ElasticList> elastic;
  std::int32_t incidence_width = 0;  // integers per nei.unf record that the viewer reads
  std::vector<std::int32_t> incidence;  // node-major, node_count x incidence_width
  std::int32_t incidence_extra = 0;  // further integers per record (skipped by readers)
  float time_step = 0.02f;
  std::int32_t last_step = 0;        // steps 0..last_step are stored
  std::vector<Mode> modes;

  std::int32_t node_count() const { return static_cast<std::int32_t>(coords.size() / static_cast<std::size_t>(NGL)); }
  std::int32_t element_count() const { return static_cast<std::int32_t>(elements.size()); }
  float coord(std::int32_t node, int j) const { return coords[static_cast<std::size_t>((node - 1) * NGL + j - 1)]; }
};

// Sizes of a sample; 0 means the kind's default. `nodes` only applies to the
// grid (its node count).
struct SampleSize {
  std::int32_t steps = 0;  // number of the last stored step
  std::int32_t nodes = 0;
};

// Builds the sample of `kind`:
// - portal: a plane frame of three bays and two storeys shaken at its base
//   (NGL 2): two fixed supports, a roller, an elastic support; node 1 at the
//   origin;
// - space: a spatial frame of one bay and two storeys (NGL 3): fixed
//   supports, a support in the oblique direction 2, springs in direction 2;
// - cantilever: a plane cantilever beam of four elements with no node at the
//   origin, in free vibration;
// - grid: a plane rectangular grid of `size.nodes` nodes (about twice as many
//   elements) fixed along its base, for benchmarks.
SampleModel make_sample(Kind kind, SampleSize size = {});

// The displacements of every node at `step`, node-major (node_count x NGL).
void step_displacements(const SampleModel& model, std::int32_t step, std::vector<float>* displacements);

// The value and code of every element at `step`, from that step's
// displacements: value 1 - 0.5 * drift / threshold (solid) while the element's
// drift ratio stays below its threshold, value 0 with its yield code beyond.
void element_states(const SampleModel& model, const std::vector<float>& displacements,
                    std::vector<float>* value, std::vector<std::int32_t>* code);

// The incidence of a model's elements, as nei.unf holds it: per node,
// incidence_width integers in pairs of (an element whose first end is the
// node, an element whose second end it is), 0 where there is none. Sets
// model->incidence_width (at least `minimum_width`) and model->incidence.
void build_incidence(SampleModel* model, std::int32_t minimum_width = 0);

}  // namespace sample

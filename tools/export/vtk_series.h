// A time series of a result folder as a ParaView collection: OUT.pvd and,
// beside it, one VTK XML unstructured grid a step, OUT-NNNN.vtu (NNNN the
// frame number from 0, four digits or as many as the last one needs).
//
// OUT.pvd (VTK XML "Collection", version 1.0): one DataSet a step, in frame
// order, with timestep = the step's time (the 32-bit time of the step,
// written so that it reads back to the same 32-bit value), part 0 and
// file = the .vtu's name (relative, so the series can be moved whole).
//
// OUT-NNNN.vtu (VTK XML "UnstructuredGrid", version 1.0, little-endian,
// header_type UInt64): one Piece, every array "appended" in raw binary (each
// block its UInt64 byte count, then the values):
// - Points: Float32 x 3, the undisplaced coordinates of every node in node
//   order, 0 for the third axis of a plane problem.
// - Cells: one a element in element order: a VTK line (type 3) from its first
//   to its second end node; an element without both ends is an empty cell
//   (type 0), so that cell i is still element i + 1. connectivity and offsets
//   are Int32, or Int64 when a count does not fit.
// - PointData "Displacement": Float32 x 3, the node's displacement at the
//   step (unmagnified; 0 for the third axis of a plane problem).
// - CellData "ElementValue" (Float32) and "ElementCode" (Int32): the element
//   records of the step.
//
// Every file is written under a hidden temporary name in OUT's folder
// (whole_file.h); only finish gives them their names, the .vtu files first and OUT.pvd last, so
// that a series that was not written whole leaves nothing behind. Memory
// stays bounded: the step's arrays are encoded one at a time, and only the
// points and cells, the same in every step, are kept.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "input/problem.h"
#include "whole_file.h"

class VtkSeries {
 public:
  explicit VtkSeries(std::string pvd_path);
  ~VtkSeries();  // abandons what was not finished
  VtkSeries(const VtkSeries&) = delete;
  VtkSeries& operator=(const VtkSeries&) = delete;

  // Prepares the points and cells of `problem` for a series of `frames`
  // steps. The problem must outlive the series.
  Status begin(const Problem& problem, std::int64_t frames);
  // Writes the .vtu of the next frame: the step's time, its displacements
  // (node_count x NGL, node-major) and element records.
  Status add(float time, const std::vector<float>& displacements, const std::vector<float>& values,
             const std::vector<std::int32_t>& codes);
  // Writes OUT.pvd and gives every file its name.
  Status finish();
  // Removes every file written so far.
  void abandon();

  // The name of frame `frame`'s .vtu beside `pvd_path`, for a series of
  // `frames` frames.
  static std::string vtu_name(const std::string& pvd_path, std::int64_t frame, std::int64_t frames);

 private:
  // Abandons the series and returns `status`.
  Status fail(Status status);

  std::string pvd_path_;
  const Problem* problem_ = nullptr;
  std::int64_t frames_ = 0;
  bool wide_ = false;  // Int64 connectivity and offsets
  std::vector<unsigned char> points_, cells_;  // the appended blocks every .vtu shares
  std::uint64_t cell_blocks_[3] = {0, 0, 0};   // connectivity, offsets, types within cells_
  std::vector<unsigned char> scratch_;         // the step's blocks
  std::vector<float> vectors_;                 // the step's displacements in 3-D
  struct Written {
    std::unique_ptr<WholeFile> file;  // written, not yet named
    float time;
  };
  std::vector<Written> written_;  // the .vtu files so far
};

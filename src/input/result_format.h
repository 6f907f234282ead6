// The binary files of a result folder, record by record: x.unf, nei.unf,
// u01.unf and el.unf, as the analysis program writes them and as this
// program reads them. Every byte offset the readers (model_geometry.cpp,
// step_records.cpp) and veltra-sample's writer use is named here, once.
//
// Conventions of all four files:
// - little-endian; integers are 32-bit two's complement ("i32"), reals are
//   32-bit IEEE 754 ("f32");
// - NGL is the number of coordinates per node (2 plane, 3 spatial), from
//   comdin.dat; every record length below depends on it;
// - records and nodes, elements and directions are numbered from 1; byte
//   offsets from 0, relative to the start of the record.
//
// x.unf: node coordinates, direct access, record n for node n = 1..node_count.
//   offset         bytes        field
//   0              4 x NGL      f32 x NGL  coordinates 1..NGL of the node
//   4 x NGL        12 x NGL     reserve (the node's local axes); not read
//   record length  16 x NGL
//
// nei.unf: node-element incidence, sequential, one framed record per node in
// node order (record r for node r).
//   offset         bytes        field
//   0              4            i32  L, the length of the data in bytes
//   4              L            data: incidence_width i32 first (pairs of
//                               elements whose first / second end is the
//                               node; below 1 = none), further data skipped
//   4 + L          4            i32  L again
//   record length  L + 8
//
// u01.unf: nodal displacements, direct access, record k = s x node_count + n
// for step s = 0..step_count and node n (all nodes of step 0 first).
//   offset         bytes        field
//   0              4 x NGL      f32 x NGL  displacement in directions 1..NGL
//   4 x NGL        4 x NGL      f32 x NGL  velocity; not used
//   8 x NGL        24 x NGL     accelerations and reserve; not read
//   record length  32 x NGL
//
// el.unf: element states, direct access, record k = s x element_count + e
// for step s and element e.
//   offset         bytes        field
//   0              4 x NGL      f32 x NGL  end forces; not used
//   4 x NGL        4            f32  axial strain; not used
//   4 x NGL + 4    4            f32  element_value: not 0 = drawn solid
//   4 x NGL + 8    4            i32  element_code: -1 = dashed when the
//                                    value is 0, anything else dotted
//   4 x NGL + 12   16           f32 x 4  reserve; not used
//   4 x NGL + 28   12 x NGL + 84  reserve; not read
//   record length  16 x NGL + 112
#pragma once

#include <bit>
#include <cstdint>

// --- Little-endian words ---------------------------------------------------

inline std::uint32_t decode_u32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}
inline std::int32_t decode_i32(const unsigned char* bytes) { return static_cast<std::int32_t>(decode_u32(bytes)); }
inline float decode_f32(const unsigned char* bytes) { return std::bit_cast<float>(decode_u32(bytes)); }

inline void encode_u32(std::uint32_t value, unsigned char* bytes) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}
inline void encode_i32(std::int32_t value, unsigned char* bytes) { encode_u32(static_cast<std::uint32_t>(value), bytes); }
inline void encode_f32(float value, unsigned char* bytes) { encode_u32(std::bit_cast<std::uint32_t>(value), bytes); }

// Bytes of one i32 or f32 field.
constexpr std::int64_t kWordBytes = 4;

// --- Record arithmetic of the direct-access files --------------------------

// The 1-based record number of item `item` (1-based node or element) of step
// `step` in a file of `count` items per step: step x count + item, in 64 bits.
constexpr std::int64_t step_record_number(std::int32_t step, std::int32_t count, std::int32_t item) {
  return std::int64_t{step} * count + item;
}

// Byte offset at which a 1-based record starts.
constexpr std::int64_t record_offset(std::int64_t record, std::int64_t record_bytes) {
  return (record - 1) * record_bytes;
}

// --- x.unf -----------------------------------------------------------------

constexpr std::int64_t x_record_bytes(int ngl) { return 16 * std::int64_t{ngl}; }
// Coordinate j (1..NGL).
constexpr std::int64_t x_coordinate_offset(int j) { return kWordBytes * (j - 1); }
// The reserve after the coordinates.
constexpr std::int64_t x_reserve_offset(int ngl) { return kWordBytes * ngl; }
constexpr std::int64_t x_reserve_bytes(int ngl) { return 12 * std::int64_t{ngl}; }
// The bytes the reader takes from each record.
constexpr std::int64_t x_read_bytes(int ngl) { return x_reserve_offset(ngl); }

// Coordinates 1..NGL of an x.unf record into `coords`.
inline void decode_x_coordinates(const unsigned char* record, int ngl, float* coords) {
  for (int j = 1; j <= ngl; ++j) coords[j - 1] = decode_f32(record + x_coordinate_offset(j));
}
// A whole x.unf record (x_record_bytes) from coordinates 1..NGL, reserve 0.
inline void encode_x_record(int ngl, const float* coords, unsigned char* record) {
  for (int j = 1; j <= ngl; ++j) encode_f32(coords[j - 1], record + x_coordinate_offset(j));
  for (std::int64_t b = x_reserve_offset(ngl); b < x_record_bytes(ngl); ++b) record[b] = 0;
}

// --- nei.unf ---------------------------------------------------------------

constexpr std::int64_t kNeiLengthOffset = 0;
constexpr std::int64_t kNeiDataOffset = kWordBytes;
// The closing length marker follows the `data_bytes` of data.
constexpr std::int64_t nei_closing_offset(std::int64_t data_bytes) { return kNeiDataOffset + data_bytes; }
// The whole record: both markers and the data.
constexpr std::int64_t nei_record_bytes(std::int64_t data_bytes) { return data_bytes + 2 * kWordBytes; }
// Integer i (1-based) of the data.
constexpr std::int64_t nei_integer_offset(std::int64_t i) { return kNeiDataOffset + kWordBytes * (i - 1); }

// A whole nei.unf record of `count` integers (nei_record_bytes(4 x count)).
inline void encode_nei_record(const std::int32_t* integers, std::int64_t count, unsigned char* record) {
  const std::int64_t data_bytes = kWordBytes * count;
  encode_i32(static_cast<std::int32_t>(data_bytes), record + kNeiLengthOffset);
  for (std::int64_t i = 1; i <= count; ++i) encode_i32(integers[i - 1], record + nei_integer_offset(i));
  encode_i32(static_cast<std::int32_t>(data_bytes), record + nei_closing_offset(data_bytes));
}

// --- u01.unf ---------------------------------------------------------------

constexpr std::int64_t u01_record_bytes(int ngl) { return 32 * std::int64_t{ngl}; }
// Displacement in direction j (1..NGL).
constexpr std::int64_t u01_displacement_offset(int j) { return kWordBytes * (j - 1); }
// Velocity in direction j.
constexpr std::int64_t u01_velocity_offset(int ngl, int j) { return kWordBytes * (ngl + j - 1); }
// Accelerations and reserve.
constexpr std::int64_t u01_reserve_offset(int ngl) { return 8 * std::int64_t{ngl}; }
constexpr std::int64_t u01_reserve_bytes(int ngl) { return 24 * std::int64_t{ngl}; }

// Displacements 1..NGL of a u01.unf record into `displacements`.
inline void decode_u01_displacements(const unsigned char* record, int ngl, float* displacements) {
  for (int j = 1; j <= ngl; ++j) displacements[j - 1] = decode_f32(record + u01_displacement_offset(j));
}
// A whole u01.unf record (u01_record_bytes) from NGL displacements and NGL
// velocities, reserve 0.
inline void encode_u01_record(int ngl, const float* displacements, const float* velocities,
                              unsigned char* record) {
  for (int j = 1; j <= ngl; ++j) {
    encode_f32(displacements[j - 1], record + u01_displacement_offset(j));
    encode_f32(velocities[j - 1], record + u01_velocity_offset(ngl, j));
  }
  for (std::int64_t b = u01_reserve_offset(ngl); b < u01_record_bytes(ngl); ++b) record[b] = 0;
}

// --- el.unf ----------------------------------------------------------------

constexpr std::int64_t el_record_bytes(int ngl) { return 16 * std::int64_t{ngl} + 112; }
// End force in direction j (1..NGL).
constexpr std::int64_t el_end_force_offset(int j) { return kWordBytes * (j - 1); }
constexpr std::int64_t el_strain_offset(int ngl) { return kWordBytes * ngl; }
constexpr std::int64_t el_value_offset(int ngl) { return kWordBytes * ngl + 4; }
constexpr std::int64_t el_code_offset(int ngl) { return kWordBytes * ngl + 8; }
// The four reserve reals, then the reserve that is not read.
constexpr std::int64_t el_reserve_offset(int ngl) { return kWordBytes * ngl + 12; }
constexpr int kElReserveReals = 4;
constexpr std::int64_t el_unread_offset(int ngl) { return kWordBytes * ngl + 28; }
constexpr std::int64_t el_unread_bytes(int ngl) { return 12 * std::int64_t{ngl} + 84; }

inline float decode_el_value(const unsigned char* record, int ngl) { return decode_f32(record + el_value_offset(ngl)); }
inline std::int32_t decode_el_code(const unsigned char* record, int ngl) {
  return decode_i32(record + el_code_offset(ngl));
}
// A whole el.unf record (el_record_bytes) from NGL end forces, the strain,
// the value and the code; reserve 0.
inline void encode_el_record(int ngl, const float* end_forces, float strain, float value, std::int32_t code,
                             unsigned char* record) {
  for (int j = 1; j <= ngl; ++j) encode_f32(end_forces[j - 1], record + el_end_force_offset(j));
  encode_f32(strain, record + el_strain_offset(ngl));
  encode_f32(value, record + el_value_offset(ngl));
  encode_i32(code, record + el_code_offset(ngl));
  for (std::int64_t b = el_reserve_offset(ngl); b < el_record_bytes(ngl); ++b) record[b] = 0;
}

// The fields of each record add up to its length.
static_assert(x_reserve_offset(3) + x_reserve_bytes(3) == x_record_bytes(3));
static_assert(u01_reserve_offset(3) + u01_reserve_bytes(3) == u01_record_bytes(3));
static_assert(el_reserve_offset(2) + kWordBytes * kElReserveReals == el_unread_offset(2));
static_assert(el_unread_offset(3) + el_unread_bytes(3) == el_record_bytes(3));
static_assert(el_value_offset(2) == 4 * 2 + 4);

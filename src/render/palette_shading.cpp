#include "render/palette_shading.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

PaletteShader::PaletteShader(const ColourMap& map, double low, double high)
    : last_(static_cast<double>(map.count - 1) * 256.0),
      none_(static_cast<std::uint32_t>(map.count) << 8),
      low_(low),
      span_(high - low),
      middle_(map.kind == ColourMapKind::diverging ? 0.5 : 0.0),
      per_unit_(0) {
  const double factor = last_ / span_;
  if (span_ > 0 && std::isfinite(factor)) per_unit_ = factor;
}

std::uint32_t PaletteShader::operator()(float value) const {
  if (!std::isfinite(value)) return none_;
  double t = span_ > 0 ? (value - low_) / span_ : middle_;
  // Clamped to [0, 1], and 0 for a quotient that is not a number, without
  // a branch: many nodes share the lowest value, and a branch on it was
  // mispredicted at random.
#if defined(__SSE2__)
  // maxsd gives its second operand, 0, when the first is not a number.
  t = _mm_cvtsd_f64(_mm_min_sd(_mm_max_sd(_mm_set_sd(t), _mm_setzero_pd()), _mm_set_sd(1.0)));
#else
  t = std::min(std::max(0.0, t), 1.0);
#endif
  // Rounded half away from zero, as std::lround rounds, without its call:
  // x is at least 0, and x less its whole part is exact.
  const double x = t * last_;
  const auto whole = static_cast<std::uint32_t>(x);
  return whole + (x - whole >= 0.5 ? 1u : 0u);
}

#if defined(__SSE2__)
namespace {

// How far ahead of the node being shaded its displacements are fetched into
// the cache. The pass runs while the next step's records stream in on the
// other core, and the processor's own fetching ahead fell behind: on the
// 1M grid the pass took 2.2 to 3.1 ms a frame without this, 1.1 to 1.7 ms
// with it.
constexpr std::size_t kFetchAheadBytes = 2048;

}  // namespace
#endif

template <std::size_t kNgl>
void PaletteShader::shade_lengths_of(const float* u, std::size_t ngl, std::size_t begin, std::size_t end,
                                     std::uint32_t* out) const {
  const std::size_t width = kNgl == 0 ? ngl : kNgl;
  std::size_t n = begin;
#if defined(__SSE2__)
  // Two nodes at a time, with the operations of operator() in the same
  // order, but for one: the quotient by the span is taken as a product with
  // last_ / span_. The two x differ by a few units in the last place at most
  // (about 1e-11 of a position), which changes the rounded position only
  // where x lies that close to a half; a node whose x lies within 1e-7 of
  // one, or whose length is not a finite number, is redone by operator().
  if (per_unit_ > 0 && width > 0) {
    const __m128d low = _mm_set1_pd(low_), per_unit = _mm_set1_pd(per_unit_), last = _mm_set1_pd(last_);
    const __m128d half = _mm_set1_pd(0.5), near = _mm_set1_pd(1e-7), infinite = _mm_set1_pd(INFINITY);
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    for (; n + 2 <= end; n += 2) {
      const float* a = u + n * width;
      const float* b = a + width;
      // An address, not a pointer into the array: past its end a fetch
      // ahead does nothing.
      _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(a) + kFetchAheadBytes),
                   _MM_HINT_T0);
      // 0 + x * x is x * x for every x, so the first square starts the sum.
      __m128d c = _mm_set_pd(b[0], a[0]);
      __m128d sum = _mm_mul_pd(c, c);
      for (std::size_t k = 1; k < width; ++k) {
        c = _mm_set_pd(b[k], a[k]);
        sum = _mm_add_pd(sum, _mm_mul_pd(c, c));
      }
      // The lengths as floats, and back in double.
      const __m128d length = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_sqrt_pd(sum)));
      __m128d x = _mm_mul_pd(_mm_sub_pd(length, low), per_unit);
      x = _mm_min_pd(_mm_max_pd(x, _mm_setzero_pd()), last);
      __m128i whole = _mm_cvttpd_epi32(x);
      const __m128d fraction = _mm_sub_pd(x, _mm_cvtepi32_pd(whole));
      // All ones (-1) in the lanes to round up.
      const __m128i up = _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpge_pd(fraction, half)), _MM_SHUFFLE(3, 3, 2, 0));
      whole = _mm_sub_epi32(whole, up);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (n - begin)), whole);
      const __m128d redo = _mm_or_pd(_mm_cmplt_pd(_mm_and_pd(_mm_sub_pd(fraction, half), magnitude), near),
                                     _mm_cmpnlt_pd(_mm_and_pd(length, magnitude), infinite));
      if (_mm_movemask_pd(redo) != 0) {
        out[n - begin] = (*this)(displacement_length<kNgl>(a, ngl));
        out[n + 1 - begin] = (*this)(displacement_length<kNgl>(b, ngl));
      }
    }
  }
#endif
  for (; n < end; ++n) out[n - begin] = (*this)(displacement_length<kNgl>(u + n * width, ngl));
}

void PaletteShader::shade_lengths(const float* u, std::size_t ngl, std::size_t begin, std::size_t end,
                                  std::uint32_t* out) const {
  switch (ngl) {
    case 2: shade_lengths_of<2>(u, ngl, begin, end, out); break;
    case 3: shade_lengths_of<3>(u, ngl, begin, end, out); break;
    default: shade_lengths_of<0>(u, ngl, begin, end, out); break;
  }
}

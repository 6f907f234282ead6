// VELTRA_SANITIZED is defined in a build under AddressSanitizer or
// ThreadSanitizer, whose runtimes reserve terabytes of address space: a test
// that limits the address space (RLIMIT_AS, ulimit -v) cannot run there.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELTRA_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VELTRA_SANITIZED 1
#endif
#endif

#ifdef VELTRA_SANITIZED
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

// Work that the calling thread shares with one helper thread kept for the
// process, so that a big batch of lines is drawn on two cores at once.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

// Calls part(begin, end, worker) for the consecutive chunks of `chunk` items
// that make up [0, count), each chunk once: the calling thread (worker 0)
// and the helper (worker 1) take the next chunk in turn until none is left.
// Returns when every chunk is done. When the helper is busy with another
// caller's work, or the machine has a single core, or no thread can be
// started, every chunk runs on the calling thread; the parts must therefore
// give the same result whichever worker runs them.
void share_work(std::size_t count, std::size_t chunk,
                const std::function<void(std::size_t begin, std::size_t end, int worker)>& part);

// As share_work, but in order: the calling thread (worker 0) takes the chunks
// from the first onwards and the helper (worker 1) from the last backwards,
// until they meet, so that every chunk the helper runs comes after every
// chunk the caller runs. Work whose later items must win over earlier ones
// can then apply the helper's results, chunk by chunk in ascending order,
// after the caller's. Once `helper_stop` (when given) is set, the helper
// takes no further chunk and the caller runs the rest.
void share_work_in_order(std::size_t count, std::size_t chunk,
                         const std::function<void(std::size_t begin, std::size_t end, int worker)>& part,
                         const std::atomic<bool>* helper_stop = nullptr);

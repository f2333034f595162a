#pragma once

// Every bound the system puts on outside input, in one place, each with the reason for its size.

#include <cstddef>

namespace limits {

// Saved files nest a few levels; deeper trees (hostile pages written back out) keep this indentation so the
// text grows linearly with the node count.
inline constexpr int kMaxIndentDepth = 32;

} // namespace limits

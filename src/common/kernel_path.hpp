#pragma once

#include <cstddef>
#include <string_view>

// x86-64 builds by GCC or Clang carry the wider paths, compiled through
// function target attributes; other builds have the baseline alone.
#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__GNUC__) || defined(__clang__))
#define IRTEQ_X86_KERNELS 1
#else
#define IRTEQ_X86_KERNELS 0
#endif

namespace irteq {

// The instruction sets the distribution recursion is compiled for. Every path
// does the same multiplications and additions in the same order, so results
// are the same to the last bit; only the width of the vector units differs,
// that is how many distributions one step carries at once.
enum class KernelPath { baseline, avx2, avx512 };

// Whether this processor (and this build) can run the path. The baseline always can.
bool kernel_path_supported(KernelPath path);

// The path the recursion takes: chosen once, at first use, as the widest the
// processor supports, or as IRTEQ_KERNEL names it (baseline, avx2 or avx512)
// when set to a supported path; any other value is ignored.
KernelPath kernel_path();

// How many distributions the path's vectors carry side by side: 2 (1 for
// compilers without GCC's vectors), 4 and 8 doubles.
std::size_t kernel_lanes(KernelPath path);

// "baseline", "avx2" or "avx512".
std::string_view kernel_path_name(KernelPath path);

}  // namespace irteq

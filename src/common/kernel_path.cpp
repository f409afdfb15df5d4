#include "common/kernel_path.hpp"

#include <array>
#include <cstdlib>

#include "common/double_vectors.hpp"

namespace irteq {

namespace {

constexpr std::array paths{KernelPath::avx512, KernelPath::avx2, KernelPath::baseline};  // widest first

KernelPath choose_path() {
  if (const char* forced = std::getenv("IRTEQ_KERNEL")) {
    for (const KernelPath path : paths) {
      if (kernel_path_name(path) == forced && kernel_path_supported(path)) return path;
    }
  }
  for (const KernelPath path : paths) {
    if (kernel_path_supported(path)) return path;
  }
  return KernelPath::baseline;
}

}  // namespace

bool kernel_path_supported(KernelPath path) {
  switch (path) {
    case KernelPath::baseline: return true;
#if IRTEQ_X86_KERNELS
    case KernelPath::avx2: return __builtin_cpu_supports("avx2");
    case KernelPath::avx512: return __builtin_cpu_supports("avx512f");
#else
    case KernelPath::avx2:
    case KernelPath::avx512: return false;
#endif
  }
  return false;
}

KernelPath kernel_path() {
  static const KernelPath chosen = choose_path();
  return chosen;
}

std::size_t kernel_lanes(KernelPath path) {
  switch (path) {
    case KernelPath::baseline: return baseline_lanes;
    case KernelPath::avx2: return 4;
    case KernelPath::avx512: return 8;
  }
  return baseline_lanes;
}

std::string_view kernel_path_name(KernelPath path) {
  switch (path) {
    case KernelPath::baseline: return "baseline";
    case KernelPath::avx2: return "avx2";
    case KernelPath::avx512: return "avx512";
  }
  return "baseline";
}

}  // namespace irteq

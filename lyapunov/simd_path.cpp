#include "simd_path.h"

namespace veltrano {

std::string_view pathName(SimdPath path) {
    switch (path) {
        case SimdPath::Lanes128:
#if defined(__x86_64__)
            return "128-bit (SSE2)";
#elif defined(__aarch64__)
            return "128-bit (NEON)";
#else
            return "128-bit";
#endif
        case SimdPath::Avx2:
            return "AVX2";
        case SimdPath::Avx512:
            return "AVX-512";
    }
    return "?";
}

int lanesOf(SimdPath path) {
    return path == SimdPath::Avx512 ? 8 : path == SimdPath::Avx2 ? 4 : 2;
}

std::vector<SimdPath> availablePaths() {
    std::vector<SimdPath> paths{SimdPath::Lanes128};
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) paths.push_back(SimdPath::Avx2);
#if !(defined(VELTRANO_AVX512) && VELTRANO_AVX512 == 0)
    if (__builtin_cpu_supports("avx512f")) paths.push_back(SimdPath::Avx512);
#endif
#endif
    return paths;
}

SimdPath widestPath() {
    static const SimdPath widest = availablePaths().back();
    return widest;
}

}  // namespace veltrano

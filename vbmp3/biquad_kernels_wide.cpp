// Filter kernels for processors with AVX-512 (built with -mavx512f, chosen at
// run time).
#define VBMP3_KERNEL_TABLE wide
#define VBMP3_KERNEL_NAMESPACE wide_build
#define VBMP3_KERNEL_SECTIONS_PER_VECTOR 4
#include "biquad_kernels.inc"

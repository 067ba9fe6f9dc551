// Filter kernels for processors with FMA and AVX2 (built with -mfma -mavx2,
// chosen at run time).
#define VBMP3_KERNEL_TABLE fused
#define VBMP3_KERNEL_NAMESPACE fused_build
#define VBMP3_KERNEL_SECTIONS_PER_VECTOR 2
#include "biquad_kernels.inc"

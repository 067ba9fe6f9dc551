// Filter kernels for any x86-64 processor.
#define VBMP3_KERNEL_TABLE plain
#define VBMP3_KERNEL_NAMESPACE plain_build
#define VBMP3_KERNEL_SECTIONS_PER_VECTOR 1
#include "biquad_kernels.inc"

#pragma once

// The image and recording libraries, in the order their headers need. The recording library
// declares its names in namespace burn when read by C++; the combining library expects them
// in reach without it.
#include <cstdint>
#include <libisofs/libisofs.h>
#include <libburn/libburn.h>
using namespace burn;
#include <libisoburn/libisoburn.h>

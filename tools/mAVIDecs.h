#pragma once

#include "components/avi/AviFile.h"

// The save callback of the AVI re-compression window, and the Stop button's request that it reads.
namespace mAVIDecs {

extern bool fCancelSave;

// Shows the percent written on the re-compression window and lets waiting messages run; answers
// the user-abort code once Stop was clicked, which stops the save.
avifile::HRESULT SaveProgressCallback(int percent);

} // namespace mAVIDecs

// The reader of Windows bitmap files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/bitmap.h"

namespace dusk {

// Reads a Windows bitmap file (1, 4, 8, 24 or 32 bits, bottom-up or top-down, with or without a
// colour table). Anything else, truncated or oversized, gives nothing, never a read out of bounds.
std::optional<Bitmap> DecodeBmp(const uint8_t* data, size_t size);

}  // namespace dusk

#pragma once
// Builds the decoder table from the program directory's subdirectories and the registry's decoder values.
#include "engine/DecoderTable.h"
#include "settings/win/RegistryKey.h"

#include <string>

namespace qv {

// One row per subdirectory, in listing order; a decoder type only when its decoder file is present.
// Missing decoder values are written to key with their built-in commands. Empty when the directory
// cannot be listed.
DecoderTable buildDecoderTable(const std::string& programDirectory, RegistryKey& key);

} // namespace qv

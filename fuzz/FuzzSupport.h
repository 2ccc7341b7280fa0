#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "core/foundation/Defaults.h"
#include "core/model/AppearanceStore.h"
#include "core/model/DockPreferences.h"
#include "core/model/PinnedStore.h"
#include "sim/SimStoreBackends.h"
#include "sim/SimSystemAppearance.h"

namespace quillbern::fuzz {

// Stops the run with the broken rule, so the fuzzer keeps the input that broke it.
void require(bool holds, std::string_view rule);

// Log lines go nowhere: a run makes millions of them.
void silenceLog();

std::string_view textOf(const std::uint8_t* data, std::size_t size);
Bytes bytesOf(const std::uint8_t* data, std::size_t size);

// The simulated machine the stores start on; nothing runs but the start-up.
struct Machine : SimStoreBackends {
    SimSystemAppearance appearance;

    std::unique_ptr<PinnedStore> startDocks(Defaults& defaults);
};

// The rules of a load of the docks, given what "profiles.v1" held before it and the
// defaults after it: the saved docks read back as they are; what the load could not read
// or would leave out is kept whole under a dated key; nothing it read is missing.
void checkDocksLoad(const std::optional<Json>& before, const Defaults& after, const PinnedStore& store);

// Whether a dated copy of `base` holds `value`.
bool hasCopy(const Defaults& defaults, std::string_view base, const Json& value);

}  // namespace quillbern::fuzz

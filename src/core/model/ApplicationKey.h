#pragma once

#include <string>

#include "core/model/PinnedStore.h"

namespace quillbern {

// The application a running process counts for wherever processes show as applications
// (running tiles, the overview): the application that owns it, else its own key,
// applicationKey(app).
std::string applicationKey(const RunningApp& app, const PinnedStore& store);

}  // namespace quillbern

#pragma once

#include <string>
#include <string_view>

#include "core/platform/AppProcess.h"

namespace quillbern {

// "2.1 (57)": the version, then the build's number in brackets, `missing` standing in for
// either one the build does not name.
std::string versionText(const AppProcess& process, std::string_view missing);

}  // namespace quillbern

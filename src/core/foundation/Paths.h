#pragma once

#include <string>
#include <string_view>

namespace quillbern {

// Paths as text: the bytes the system gives, compared for identity only in this form.

// Without trailing slashes, so "/a/" and "/a" name one folder; "/" stays.
std::string normalizedPath(std::string_view path);
// The path of `name` inside `folder`.
std::string childPath(std::string_view folder, std::string_view name);
// The path without its last component: "/a/b" gives "/a", "/a" gives "/".
std::string parentPath(std::string_view path);
// The last component: "/a/b" gives "b".
std::string lastPathComponent(std::string_view path);

}  // namespace quillbern

#pragma once

#include <string>
#include <string_view>

namespace quillbern {

// The workspace as the tiles' menus see it, so the tiles need not know the workspace.
class WorkspaceMembers {
public:
    virtual ~WorkspaceMembers() = default;
    virtual bool isMember(std::string_view bundleID) const = 0;
    // The application stays as it is; the rest close the gap.
    virtual void remove(const std::string& bundleID) = 0;
};

}  // namespace quillbern

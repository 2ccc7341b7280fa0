#pragma once

namespace quillbern {

// The first member of a struct that must be filled by name, such as one that holds several
// ports of one type, where a swap by position would compile and do harm:
//
//     struct Ports {
//         [[no_unique_address]] FilledByName<Ports> byName{};
//         const WindowList& windowList;
//         const WindowList& mainThreadWindowList;
//     };
//     Ports{.windowList = worker, .mainThreadWindowList = main}  // compiles
//     Ports{worker, main}                                         // does not
//
// Only the struct itself can make one (through the `{}` above), so an initializer by
// position, which must begin with it, never compiles; one by name leaves it out. It takes
// no room.
template <typename Owner>
class FilledByName {
public:
    bool operator==(const FilledByName&) const = default;

private:
    friend Owner;
    FilledByName() = default;
};

}  // namespace quillbern

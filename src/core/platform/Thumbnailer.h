#pragma once

#include "core/platform/Types.h"

namespace quillbern {

// Small pictures of files' contents. Any thread, one at a time: it reads files and may take
// a while.
class Thumbnailer {
public:
    virtual ~Thumbnailer() = default;

    // A picture of the file's content as it is now, its longer side at most `sidePx`
    // pixels; null when the file's type has none to show or it cannot be read.
    virtual ImageHandle thumbnail(const Path& file, int sidePx) const = 0;
    // None is asked for a while: what making them holds is let go until the next. While no
    // thumbnail is being made.
    virtual void rest() const = 0;
};

}  // namespace quillbern

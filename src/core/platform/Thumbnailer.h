#pragma once

#include "core/foundation/Time.h"
#include "core/platform/Types.h"

namespace quillbern {

// What making a thumbnail came to.
struct Thumbnail {
    enum class Outcome {
        made,
        // The file's type has none to show, or it cannot be read.
        none,
        // Not made within its time; the making was ended.
        overran,
        // The making ended before the picture was read (its reader crashed).
        lost,
    };
    Outcome outcome = Outcome::none;
    ImageHandle image;
};

// Small pictures of files' contents. Any thread, one at a time: it reads files and may take
// a while.
class Thumbnailer {
public:
    virtual ~Thumbnailer() = default;

    // A picture of the file's content as it is now, its longer side at most `sidePx`
    // pixels, made within `limit` seconds.
    virtual Thumbnail thumbnail(const Path& file, int sidePx, Duration limit) const = 0;
    // None is asked for a while: what making them holds is let go until the next. While no
    // thumbnail is being made.
    virtual void rest() const = 0;
};

}  // namespace quillbern

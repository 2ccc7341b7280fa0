#pragma once

#include <string>

#include "core/foundation/Time.h"
#include "core/platform/Types.h"

namespace quillbern {

// What is asked of a reader of pictures: a file of others, read at most `sidePx` pixels
// either way.
struct PictureAsk {
    enum class Kind {
        // An icon file, as a desktop entry or an icon theme names it.
        icon,
        // A picture the user keeps, for its thumbnail.
        thumbnail,
        // A picture of the shared thumbnail cache: it counts only while it says it was made
        // from the file `uri` names as it was at `mtime`.
        storedThumbnail,
    };
    Kind kind = Kind::icon;
    Path file;
    int sidePx = 0;
    std::string uri;
    std::string mtime;
};

struct PictureRead {
    enum class Outcome {
        // Read: the pixels are the picture's.
        picture,
        // The file holds no picture that can be read within the reader's bounds.
        none,
        // Not read within its time; the reading was ended.
        overran,
        // The reading ended before the picture was read (its reader crashed or was ended).
        lost,
        // No reading can be had, now or later: no reader can start, or it was stopped.
        unavailable,
    };
    Outcome outcome = Outcome::none;
    PixelBuffer pixels;
};

// Reads the pictures of others (icon files, thumbnails) where one that takes too long or too
// much costs nothing but itself: each read is given up once its time is up, and nothing of it
// goes on afterwards. What is not read at rest holds nothing. One thread at a time calls
// `read` and `rest`; `stop` may come from any thread.
class PictureReader {
public:
    virtual ~PictureReader() = default;

    // Blocks until the picture is read, `limit` seconds at most.
    virtual PictureRead read(const PictureAsk& ask, Duration limit) = 0;
    // Nothing more is asked for a while: what reading holds is let go, until the next read.
    virtual void rest() = 0;
    // The read under way, if any, and every later one return at once, `unavailable`.
    virtual void stop() = 0;
};

}  // namespace quillbern

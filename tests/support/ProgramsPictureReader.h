#pragma once

// Where the build has the program's picture reader, views in tests read pictures from outside
// through it, as the program does; elsewhere (a build of the core's tests) they show their
// stand-ins.
#include <memory>

#include "core/platform/PictureReader.h"
#include "ui/foundation/OutsidePictures.h"
#ifdef QUILLBERN_PICTURE_READER
#include "linux/process/PictureReaderProcess.h"
#endif

namespace quillbern {

inline constexpr bool kReadsOutsidePictures =
#ifdef QUILLBERN_PICTURE_READER
    true;
#else
    false;
#endif

inline void readOutsidePicturesAsTheProgramDoes() {
#ifdef QUILLBERN_PICTURE_READER
    OutsidePictures::shared().readWith(
        std::make_unique<PictureReaderProcess>(ReaderProgram::at(QUILLBERN_PICTURE_READER), "icons"));
#else
    OutsidePictures::shared().readWith(nullptr);
#endif
}

}  // namespace quillbern

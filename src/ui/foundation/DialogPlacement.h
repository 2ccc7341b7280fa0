#pragma once

namespace quillbern {

// Every dialog of the program stays where Qt placed it as it showed (over the window it
// belongs to, else in the middle of the screen), however long the window manager takes to
// take it in. While the window manager wraps a new window in its frame, Qt may read the
// window's place from a frame not yet moved, the screen's corner, and a resize of the dialog
// then sends it there; so until its window is first exposed after each show, a dialog is
// held where it was placed. For the whole program; installing it again changes nothing.
void placeDialogsOverTheirWindows();

}  // namespace quillbern

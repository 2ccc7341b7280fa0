#pragma once

#include <functional>

namespace quillbern {

// The picture reader's work: answers the program's requests on `socket` one at a time, each
// picture read from the descriptor that came with it within the bounds of its kind, until the
// program closes its end or sends what is no request; `beforeEach` runs before each picture is
// read. Returns the reader's exit status: 0 when no further request came, 1 when one could not
// be answered.
int answerPictureRequests(int socket, const std::function<void()>& beforeEach);

}  // namespace quillbern

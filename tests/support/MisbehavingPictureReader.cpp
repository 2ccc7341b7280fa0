// A picture reader that speaks as the program's own does, then misbehaves as
// QUILLBERN_TEST_READER says: "exit-at-start" ends before it is ready, "crash" is ready and
// crashes at the first picture, "silent" takes it and never answers, "oversized" answers a
// picture larger than asked. Each start is noted as a line of
// the file QUILLBERN_TEST_READER_STARTS names.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "picture/PictureWire.h"

using namespace quillbern;

int main() {
    const char* mode = std::getenv("QUILLBERN_TEST_READER");
    const std::string behaviour = mode ? mode : "";
    if (const char* starts = std::getenv("QUILLBERN_TEST_READER_STARTS")) std::ofstream(starts, std::ios::app) << "\n";
    if (behaviour == "exit-at-start") return 7;
    if (!sendReady(kReaderSocket)) return 1;
    const auto request = receiveRequest(kReaderSocket);
    if (!request) return 0;
    if (behaviour == "crash") std::abort();
    if (behaviour == "oversized") {
        const int side = request->request.side + 1;
        sendAnswer(kReaderSocket, {true, side, side}, {});
    }
    for (;;)
        ::pause();
}

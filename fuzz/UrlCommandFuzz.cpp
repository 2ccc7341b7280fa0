// Automation URLs as any program may send them: whatever the text, reading it never goes
// wrong; what it understands prints as a URL that reads back as the same command; a query
// and a fragment change nothing; and any dock name prints and reads back whole.
#include "FuzzSupport.h"
#include "core/foundation/Utf8.h"
#include "core/shell/UrlCommand.h"

using namespace quillbern;
using namespace quillbern::fuzz;

namespace {

// Printed URLs are plain ASCII without spaces or control characters, so any program can pass them on.
bool isPlain(std::string_view url) {
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = textOf(data, size);

    const std::optional<UrlCommand> command = UrlCommand::parse(text);
    if (command) {
        const std::string printed = command->url();
        require(isPlain(printed), "a printed URL is plain ASCII");
        require(UrlCommand::parse(printed) == command, "a command's URL reads back as the command");
        require((command->kind == UrlCommand::Kind::profile) == !command->dock.empty(),
                "exactly a dock command names a dock");
        require(isValidUtf8(command->dock), "a dock's name is UTF-8");
    }
    if (text.find_first_of("?#") == std::string_view::npos) {
        require(UrlCommand::parse(std::string(text) + "?q=%zz/x#f?/y") == command,
                "a query and a fragment change nothing");
    }

    if (!text.empty() && isValidUtf8(text)) {
        const UrlCommand dock = UrlCommand::profile(std::string(text), static_cast<UrlCommand::DockAction>(size % 3));
        require(UrlCommand::parse(dock.url()) == dock, "any dock name prints and reads back");
    }
    return 0;
}

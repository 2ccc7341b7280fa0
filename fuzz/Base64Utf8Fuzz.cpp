// The text forms under every stored value: Base64 for data, UTF-8 for JSON text.
#include "FuzzSupport.h"
#include "core/foundation/Base64.h"
#include "core/foundation/JsonText.h"
#include "core/foundation/Utf8.h"
#include "core/model/JsonWriter.h"

using namespace quillbern;
using namespace quillbern::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes = bytesOf(data, size);
    const std::string_view text = textOf(data, size);

    const std::string encoded = base64Encode(bytes);
    require(encoded.size() == (size + 2) / 3 * 4, "Base64 text has its exact length");
    require(base64Decode(encoded) == bytes, "Base64 gives the bytes back");
    require(Defaults::bytesFromJson(Defaults::dataJson(bytes)) == bytes, "a data value gives the bytes back");
    if (const auto decoded = base64Decode(text)) {
        require(base64Encode(*decoded).size() == size, "decoded Base64 encodes to the same length");
        require(base64Decode(base64Encode(*decoded)) == decoded, "decoded Base64 round-trips");
    }

    // The JSON library refuses to write text that is not UTF-8; both checks must agree.
    bool libraryAccepts = true;
    try {
        (void)Json(std::string(text)).dump();
    } catch (const Json::type_error&) {
        libraryAccepts = false;
    }
    const bool valid = isValidUtf8(text);
    require(valid == libraryAccepts, "UTF-8 is judged as the JSON library judges it");

    JsonWriter writer;
    writer.string(text);
    require(writer.failed() == !valid, "the writer refuses exactly the text that is not UTF-8");
    if (valid) {
        const auto read = parseJson(writer.text());
        require(read.ok() && read.value() == text, "written text reads back equal");
    }
    return 0;
}

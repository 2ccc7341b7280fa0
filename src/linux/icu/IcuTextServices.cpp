#include "linux/icu/IcuTextServices.h"

#include <cstdint>
#include <string>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace quillbern {

namespace {

// UTF-16 with a terminating zero, so that even empty text has a buffer ICU accepts.
std::u16string utf16(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), &status);
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), length + 1, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
    return out;
}

}  // namespace

std::optional<std::string> IcuTextServices::uppercasedFirstCharacter(std::string_view text) const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    int32_t end = 0;
    UChar32 first;
    U8_NEXT(bytes, end, static_cast<int32_t>(text.size()), first);
    if (first < 0) return std::nullopt;
    const std::u16string character = utf16(text.substr(0, static_cast<std::size_t>(end)));
    // One character grows to at most three in upper case (U+0390 becomes three).
    char16_t upper[16];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_strToUpper(upper, 16, character.data(), static_cast<int32_t>(character.size()), "", &status);
    if (U_FAILURE(status) || length <= 0) return std::nullopt;
    UChar32 shown;
    U16_GET(upper, 0, 0, length, shown);
    if (u_isUWhiteSpace(shown) || u_iscntrl(shown) || (U_GET_GC_MASK(shown) & U_GC_M_MASK)) return std::nullopt;
    std::string out(static_cast<std::size_t>(length) * 3, '\0');
    int32_t written = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &written, upper, length, &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(static_cast<std::size_t>(written));
    return out;
}

bool IcuTextServices::equalsIgnoringCase(std::string_view a, std::string_view b) const {
    const auto left = utf16(a);
    const auto right = utf16(b);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t order = u_strCaseCompare(left.data(), static_cast<int32_t>(left.size()), right.data(),
                                           static_cast<int32_t>(right.size()), U_FOLD_CASE_DEFAULT, &status);
    return U_SUCCESS(status) && order == 0;
}

std::string IcuTextServices::trimmingHorizontalSpace(std::string_view text) const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !u_isblank(c)) break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (c < 0 || !u_isblank(c)) break;
        end = previous;
    }
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

}  // namespace quillbern

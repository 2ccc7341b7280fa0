#include "linux/icu/IcuTextServices.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/unumberformatter.h>
#include <unicode/ureldatefmt.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "core/foundation/Log.h"
#include "core/platform/RelativeTime.h"

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

void appendUtf8(std::string& out, UChar32 c) {
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t length = 0;
    U8_APPEND_UNSAFE(buffer, length, c);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

bool isMark(UChar32 c) {
    return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0;
}

std::string utf8(const UChar* text, int32_t length) {
    std::string out(static_cast<std::size_t>(length) * 3, '\0');
    int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &written, text, length, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace

IcuTextServices::IcuTextServices(const std::optional<std::string>& interfaceLanguage) {
    // The C locale becomes ICU's POSIX locale, whose order is the bytes' order, capitals
    // first; names there follow Unicode's default order instead.
    std::string_view locale = uloc_getDefault();
    const std::string_view localeLanguage = locale.substr(0, locale.find('_'));
    if (interfaceLanguage &&
        std::string_view(*interfaceLanguage).substr(0, interfaceLanguage->find('_')) != localeLanguage)
        locale = *interfaceLanguage;
    locale_ = locale.starts_with("en_US_POSIX") ? "en" : std::string(locale);
    UErrorCode status = U_ZERO_ERROR;
    relative_ = ureldatefmt_open(locale_.c_str(), nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE, &status);
    if (U_FAILURE(status)) {
        log("relative dates of the locale are unavailable (", u_errorName(status), "); files show none");
        if (relative_) ureldatefmt_close(relative_);
        relative_ = nullptr;
    }
    status = U_ZERO_ERROR;
    const std::u16string skeleton = u"measure-unit/duration-second unit-width-short .00";
    seconds_ = unumf_openForSkeletonAndLocale(skeleton.data(), static_cast<int32_t>(skeleton.size()), locale_.c_str(),
                                              &status);
    if (U_FAILURE(status)) {
        log("durations of the locale are unavailable (", u_errorName(status), "); they show in English");
        if (seconds_) unumf_close(seconds_);
        seconds_ = nullptr;
    }
    status = U_ZERO_ERROR;
    collator_ = ucol_open(locale.starts_with("en_US_POSIX") ? "" : locale.data(), &status);
    if (U_FAILURE(status)) {
        log("the text collation of the locale is unavailable (", u_errorName(status),
            "); names are sorted by their bytes");
        if (collator_) ucol_close(collator_);
        collator_ = nullptr;
        return;
    }
    ucol_setStrength(collator_, UCOL_SECONDARY);
}

IcuTextServices::~IcuTextServices() {
    if (collator_) ucol_close(collator_);
    if (relative_) ureldatefmt_close(relative_);
    if (seconds_) unumf_close(seconds_);
}

std::string IcuTextServices::formatSeconds(double seconds) const {
    const auto fallback = [seconds] {
        char out[48];
        std::snprintf(out, sizeof out, "%.2f sec", seconds);
        return std::string(out);
    };
    if (!seconds_) return fallback();
    UErrorCode status = U_ZERO_ERROR;
    UFormattedNumber* result = unumf_openResult(&status);
    unumf_formatDouble(seconds_, seconds, result, &status);
    UChar buffer[64];
    const int32_t length = unumf_resultToString(result, buffer, 64, &status);
    unumf_closeResult(result);
    return U_FAILURE(status) ? fallback() : utf8(buffer, length);
}

std::string IcuTextServices::formatDateAndTime(WallTime when) const {
    // A date formatter is not safe to share between threads; one is made for each call.
    UErrorCode status = U_ZERO_ERROR;
    UDateFormat* format = udat_open(UDAT_SHORT, UDAT_MEDIUM, locale_.c_str(), nullptr, -1, nullptr, -1, &status);
    if (U_FAILURE(status)) {
        if (format) udat_close(format);
        return {};
    }
    UChar buffer[128];
    const int32_t length = udat_format(format, when.sinceEpoch * 1000.0, buffer, 128, nullptr, &status);
    udat_close(format);
    return U_FAILURE(status) ? std::string() : utf8(buffer, length);
}

std::string IcuTextServices::formatRelative(WallTime when, WallTime now) const {
    if (!relative_) return {};
    using Unit = RelativeOffset::Unit;
    const RelativeOffset offset = relativeOffset(when, now);
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_SECOND;
    switch (offset.unit) {
        case Unit::second:
            unit = UDAT_REL_UNIT_SECOND;
            break;
        case Unit::minute:
            unit = UDAT_REL_UNIT_MINUTE;
            break;
        case Unit::hour:
            unit = UDAT_REL_UNIT_HOUR;
            break;
        case Unit::day:
            unit = UDAT_REL_UNIT_DAY;
            break;
        case Unit::week:
            unit = UDAT_REL_UNIT_WEEK;
            break;
        case Unit::month:
            unit = UDAT_REL_UNIT_MONTH;
            break;
        case Unit::year:
            unit = UDAT_REL_UNIT_YEAR;
            break;
    }
    UChar buffer[128];
    UErrorCode status = U_ZERO_ERROR;
    // The named form where the language has one ("yesterday"), else the numeric one.
    const int32_t length = ureldatefmt_format(relative_, offset.value, unit, buffer, 128, &status);
    if (U_FAILURE(status)) return {};
    return utf8(buffer, length);
}

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

std::string IcuTextServices::lowercased(std::string_view text) const {
    const std::u16string source = utf16(text);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = u_strToLower(nullptr, 0, source.data(), static_cast<int32_t>(source.size()), "", &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::string(text);
    std::u16string lower(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strToLower(lower.data(), length + 1, source.data(), static_cast<int32_t>(source.size()), "", &status);
    if (U_FAILURE(status)) return std::string(text);
    std::string out(static_cast<std::size_t>(length) * 3, '\0');
    int32_t written = 0;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &written, lower.data(), length, &status);
    if (U_FAILURE(status)) return std::string(text);
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

int IcuTextServices::compare(std::string_view a, std::string_view b) const {
    if (collator_) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult order = ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                        static_cast<int32_t>(b.size()), &status);
        if (U_SUCCESS(status)) return order == UCOL_LESS ? -1 : order == UCOL_EQUAL ? 0 : 1;
    }
    return a.compare(b);
}

void IcuTextServices::fold(std::string_view text, FoldedText& into) const {
    into.folded.clear();
    into.originalOffsets.clear();
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* decomposition = unorm2_getNFDInstance(&status);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t next = 0;
    while (next < length) {
        const int32_t start = next;
        if (bytes[next] < 0x80) {
            // Folding is lower-casing for ASCII, and most names are ASCII.
            const char c = static_cast<char>(bytes[next++]);
            into.folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            into.originalOffsets.push_back(static_cast<std::uint32_t>(start));
            continue;
        }
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0) c = 0xFFFD;
        UChar parts[32];
        int32_t partCount = 0;
        UErrorCode decomposed = U_ZERO_ERROR;
        if (decomposition) partCount = unorm2_getDecomposition(decomposition, c, parts, 32, &decomposed);
        if (partCount < 0 || U_FAILURE(decomposed)) {
            partCount = 0;
            U16_APPEND_UNSAFE(parts, partCount, c);
        }
        UChar folded[96];
        UErrorCode foldStatus = U_ZERO_ERROR;
        const int32_t foldedCount = u_strFoldCase(folded, 96, parts, partCount, U_FOLD_CASE_DEFAULT, &foldStatus);
        if (U_FAILURE(foldStatus)) continue;
        // Diacritics are the nonspacing marks that decomposition set apart, and any that
        // folding brought.
        for (int32_t i = 0; i < foldedCount;) {
            UChar32 out;
            U16_NEXT(folded, i, foldedCount, out);
            if ((U_GET_GC_MASK(out) & U_GC_MN_MASK) == 0) appendUtf8(into.folded, out);
        }
        into.originalOffsets.resize(into.folded.size(), static_cast<std::uint32_t>(start));
    }
}

bool IcuTextServices::isLetterOrNumberBefore(std::string_view text, std::size_t offset) const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    auto end = static_cast<int32_t>(std::min(offset, text.size()));
    bool passedMark = false;
    while (end > 0) {
        UChar32 c;
        U8_PREV(bytes, 0, end, c);
        if (c < 0) return false;
        if (isMark(c)) {
            passedMark = true;
            continue;
        }
        return (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_N_MASK)) != 0;
    }
    return passedMark;
}

}  // namespace quillbern

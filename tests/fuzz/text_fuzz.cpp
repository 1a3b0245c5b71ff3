// libFuzzer target: game strings of random bytes through the encoding
// detection, the split into characters, the conversions to UTF-8 for the
// console and the window, and the name helpers. The bytes after the first are
// cut into strings at each NUL, noted in turn as a game hands them over; the
// first byte picks the encoding: detected, or forced to GBK or UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/paths.h"
#include "platform/linux/text.h"
#include "platform/platform.h"

namespace {

// Valid UTF-8: what the console and the window system are handed.
bool isUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80         ? 1
                              : (lead >> 5) == 6  ? 2
                              : (lead >> 4) == 14 ? 3
                              : (lead >> 3) == 30 ? 4
                                                  : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const kForced[] = {nullptr, "gbk", "utf-8"};
    if (const char* forced = kForced[data[0] % 3])
        setenv("VINDLE_ENCODING", forced, 1);
    else
        unsetenv("VINDLE_ENCODING");
    resetGameEncoding();
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (size_t start = 0; start <= bytes.size();) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string piece = bytes.substr(start, end - start);
        const char* text = piece.c_str();
        platformNoteGameString(text);
        platformDoubleByteString(text);
        // Never more characters than bytes, never a byte dropped by the split.
        const std::u32string characters = platformSplitGameString(text);
        if (characters.size() > piece.size() || (characters.empty() && !piece.empty())) abort();
        if (!isUtf8(gameTextAsUtf8(text)) || !isUtf8(gameStringAsUtf8(text))) abort();
        std::string lowered = piece;
        lowerCaseGameString(&lowered[0]);
        if (lowered.size() != piece.size()) abort();
        if (fileExtension(text).size() + fileBaseName(text).size() > piece.size()) abort();
        start = end + 1;
    }
    return 0;
}

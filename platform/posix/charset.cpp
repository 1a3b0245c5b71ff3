#include "platform/posix/charset.h"

#include <iconv.h>

#include <cstring>

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool decodeUtf8(const unsigned char* s, std::u32string& out) {
    while (*s) {
        const unsigned char lead = *s;
        char32_t cp;
        int more;
        char32_t min;
        if (lead < 0x80) {
            out.push_back(lead);
            ++s;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            cp = lead & 0x1F, more = 1, min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            cp = lead & 0x0F, more = 2, min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            cp = lead & 0x07, more = 3, min = 0x10000;
        } else {
            return false;
        }
        for (int i = 1; i <= more; ++i) {
            if ((s[i] & 0xC0) != 0x80) return false;  // also stops at the NUL
            cp = (cp << 6) | (s[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        s += more + 1;
    }
    return true;
}

// One converter per thread, opened on first need; iconv handles are not
// safe to share.
class Cp936Decoder {
public:
    ~Cp936Decoder() {
        if (handle_ != kNone) iconv_close(handle_);
    }

    char32_t decode(const unsigned char* bytes, size_t length) {
        if (handle_ == kNone) handle_ = iconv_open("UTF-32LE", "CP936");
        if (handle_ == kNone) return kReplacementCharacter;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        char in[2];
        memcpy(in, bytes, length);
        unsigned char result[8] = {};
        char* inPtr = in;
        char* outPtr = reinterpret_cast<char*>(result);
        size_t inLeft = length, outLeft = sizeof result;
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
            sizeof result - outLeft != 4)
            return kReplacementCharacter;
        return static_cast<char32_t>(result[0]) | static_cast<char32_t>(result[1]) << 8 |
               static_cast<char32_t>(result[2]) << 16 | static_cast<char32_t>(result[3]) << 24;
    }

private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    iconv_t handle_ = kNone;
};

void decodeCp936(const unsigned char* s, std::u32string& out) {
    thread_local Cp936Decoder decoder;
    while (*s) {
        if (*s < 0x80) {
            out.push_back(*s++);
        } else if (*s >= 0x81 && *s <= 0xFE) {
            if (!s[1]) {  // a lead byte right before the end
                out.push_back(kReplacementCharacter);
                return;
            }
            out.push_back(decoder.decode(s, 2));
            s += 2;
        } else {
            out.push_back(decoder.decode(s, 1));
            ++s;
        }
    }
}

}  // namespace

std::u32string splitGameString(const char* text) {
    std::u32string out;
    if (!text) return out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (decodeUtf8(bytes, out)) return out;
    out.clear();
    decodeCp936(bytes, out);
    return out;
}

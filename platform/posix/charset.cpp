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
    while (*s) {
        if (*s < 0x80) {
            out.push_back(*s++);
        } else if (*s >= 0x81 && *s <= 0xFE) {
            if (!s[1]) {  // a lead byte right before the end
                out.push_back(kReplacementCharacter);
                return;
            }
            out.push_back(decodeCp936Character(s, 2));
            s += 2;
        } else {
            out.push_back(decodeCp936Character(s, 1));
            ++s;
        }
    }
}

// Length of the well-formed UTF-8 character at p, or 0 when there is none.
size_t utf8Length(const unsigned char* p, const unsigned char* end) {
    const unsigned c = p[0];
    if (c < 0x80) return 1;
    size_t length;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (static_cast<size_t>(end - p) < length) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((p[i] & 0xC0) != 0x80) return 0;
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0) || (c == 0xF0 && p[1] < 0x90) ||
        (c == 0xF4 && p[1] >= 0x90))
        return 0;
    return length;
}

// True when p..end is the start of a UTF-8 character cut off by the end of
// the text, as a message cut to fit its buffer may be.
bool isCutUtf8Character(const unsigned char* p, const unsigned char* end) {
    const size_t have = static_cast<size_t>(end - p);
    const size_t need = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC2 ? 2 : 0;
    if (*p > 0xF4 || need == 0 || have >= need) return false;
    for (size_t i = 1; i < have; ++i)
        if ((p[i] & 0xC0) != 0x80) return false;
    return true;
}

bool isUtf8(const unsigned char* p, const unsigned char* end) {
    while (p < end) {
        size_t length = utf8Length(p, end);
        if (length == 0) return false;
        p += length;
    }
    return true;
}

void appendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

char32_t decodeCp936Character(const unsigned char* bytes, size_t length) {
    thread_local Cp936Decoder decoder;
    return decoder.decode(bytes, length);
}

std::u32string splitGameString(const char* text) {
    std::u32string out;
    if (!text) return out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (decodeUtf8(bytes, out)) return out;
    out.clear();
    decodeCp936(bytes, out);
    return out;
}

std::string gameTextAsUtf8(const char* text) {
    if (!text) return std::string();
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = p + strlen(text);
    if (isUtf8(p, end)) return std::string(text);

    std::string out;
    while (p < end) {
        if (*p < 0x80) {
            out += static_cast<char>(*p++);
            continue;
        }
        const unsigned char* runEnd = p;
        while (runEnd < end && *runEnd >= 0x80) {
            size_t length = utf8Length(runEnd, end);
            if (length < 3) break;
            runEnd += length;
        }
        if (runEnd > p && (runEnd == end || *runEnd < 0x80 || isCutUtf8Character(runEnd, end))) {
            out.append(reinterpret_cast<const char*>(p), static_cast<size_t>(runEnd - p));
            p = runEnd < end && *runEnd >= 0x80 ? end : runEnd;
            continue;
        }
        // A GBK trail byte may be ASCII, so pairs are taken whole.
        while (p < end && *p >= 0x80) {
            const bool pair = *p >= 0x81 && *p <= 0xFE && p + 1 < end && p[1] >= 0x40 && p[1] <= 0xFE && p[1] != 0x7F;
            const char32_t character = pair ? decodeCp936Character(p, 2) : kReplacementCharacter;
            if (character != kReplacementCharacter) {
                appendUtf8(character, out);
                p += 2;
            } else {
                out += '?';
                p += 1;
            }
        }
    }
    return out;
}

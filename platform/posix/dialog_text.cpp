// The game's text as UTF-8 for the message box.
#include "platform/posix/dialog_text.h"

#include <iconv.h>

#include <cstring>

namespace {

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

class GbkDecoder {
public:
    GbkDecoder() : converter_(iconv_open("UTF-8", "GBK")) {}
    ~GbkDecoder() {
        if (converter_ != reinterpret_cast<iconv_t>(-1)) iconv_close(converter_);
    }
    GbkDecoder(const GbkDecoder&) = delete;
    GbkDecoder& operator=(const GbkDecoder&) = delete;

    // Appends the character of the two-byte sequence at p; false when it is none.
    bool appendPair(const unsigned char* p, std::string& out) {
        if (converter_ == reinterpret_cast<iconv_t>(-1)) return false;
        char in[2] = {static_cast<char>(p[0]), static_cast<char>(p[1])};
        char result[8];
        char* inPointer = in;
        char* outPointer = result;
        size_t inLeft = sizeof in, outLeft = sizeof result;
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter_, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return false;
        out.append(result, static_cast<size_t>(outPointer - result));
        return true;
    }

private:
    iconv_t converter_;
};

}  // namespace

std::string dialogTextAsUtf8(const char* text) {
    if (!text) return std::string();
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = p + strlen(text);
    if (isUtf8(p, end)) return std::string(text);

    std::string out;
    GbkDecoder gbk;
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
            if (pair && gbk.appendPair(p, out)) {
                p += 2;
            } else {
                out += '?';
                p += 1;
            }
        }
    }
    return out;
}

// Web backend: game strings. A game's string is UTF-8 or code page 936 as on
// Linux (the first string valid in only one settles the game's encoding;
// VINDLE_ENCODING forces one), where Windows has code page 936 alone; a
// string valid in both is read as UTF-8 until the game is settled. UTF-8 is
// decoded here; code page 936 by the browser's TextDecoder, which every
// thread of the page has.
#include "platform/web/text.h"

#include <emscripten.h>
#include <strings.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes length bytes of code page 936 into at most capacity code points;
// returns how many. Runs on the calling thread.
EM_JS(int, vindle_decode_cp936, (const unsigned char* bytes, int length, char32_t* out, int capacity), {
    var decoder = Module.vindleGbkDecoder || (Module.vindleGbkDecoder = new TextDecoder('gbk'));
    // TextDecoder reads no shared memory: copy the bytes out first.
    var text = decoder.decode(HEAPU8.slice(bytes, bytes + length));
    var count = 0;
    for (var character of text) {
        if (count == capacity) break;
        HEAPU32[(out >> 2) + count] = character.codePointAt(0);
        ++count;
    }
    return count;
});

// Length of the well-formed UTF-8 character at p, or 0 when there is none.
size_t utf8Length(const unsigned char* p) {
    const unsigned c = p[0];
    if (c < 0x80) return 1;
    size_t length;
    unsigned low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (p[1] < low || p[1] > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return length;
}

bool validUtf8(const unsigned char* p, const unsigned char* end) {
    while (p < end) {
        const size_t length = utf8Length(p);
        if (length == 0 || length > static_cast<size_t>(end - p)) return false;
        p += length;
    }
    return true;
}

// Code page 936: ASCII and 0x80 (the euro sign) alone, else a lead byte
// 0x81..0xFE and a trail byte 0x40..0xFE other than 0x7F.
bool validCp936(const unsigned char* p, const unsigned char* end) {
    while (p < end) {
        if (*p <= 0x80) {
            ++p;
        } else if (*p == 0xFF || end - p < 2 || p[1] < 0x40 || p[1] == 0x7F || p[1] == 0xFF) {
            return false;
        } else {
            p += 2;
        }
    }
    return true;
}

GameEncoding forcedEncoding() {
    static const GameEncoding forced = [] {
        const char* choice = getenv("VINDLE_ENCODING");
        if (!choice) return GameEncoding::unknown;
        if (strcasecmp(choice, "gbk") == 0 || strcasecmp(choice, "cp936") == 0) return GameEncoding::gbk;
        if (strcasecmp(choice, "utf-8") == 0 || strcasecmp(choice, "utf8") == 0) return GameEncoding::utf8;
        return GameEncoding::unknown;
    }();
    return forced;
}

std::atomic<GameEncoding> settled{GameEncoding::unknown};

std::u32string decodeUtf8(const unsigned char* p) {
    std::u32string characters;
    while (*p) {
        const size_t length = utf8Length(p);
        if (length == 0) {
            characters.push_back(kReplacement);
            ++p;
            continue;
        }
        char32_t c = length == 1 ? p[0] : p[0] & (0xFF >> (length + 1));
        for (size_t i = 1; i < length; ++i) c = c << 6 | (p[i] & 0x3F);
        characters.push_back(c);
        p += length;
    }
    return characters;
}

std::u32string decodeCp936(const unsigned char* p, size_t length) {
    std::u32string characters(length, U'\0');
    if (length == 0) return characters;
    characters.resize(static_cast<size_t>(
        vindle_decode_cp936(p, static_cast<int>(length), &characters[0], static_cast<int>(length))));
    return characters;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

void noteGameString(const char* text) {
    if (!text || forcedEncoding() != GameEncoding::unknown || settled.load() != GameEncoding::unknown) return;
    const auto* begin = reinterpret_cast<const unsigned char*>(text);
    const auto* end = begin + strlen(text);
    const bool utf8 = validUtf8(begin, end), cp936 = validCp936(begin, end);
    GameEncoding expected = GameEncoding::unknown;
    if (utf8 != cp936) settled.compare_exchange_strong(expected, utf8 ? GameEncoding::utf8 : GameEncoding::gbk);
}

GameEncoding encodingOf(const char* text) {
    if (forcedEncoding() != GameEncoding::unknown) return forcedEncoding();
    const auto* begin = reinterpret_cast<const unsigned char*>(text ? text : "");
    const auto* end = begin + strlen(reinterpret_cast<const char*>(begin));
    const bool utf8 = validUtf8(begin, end), cp936 = validCp936(begin, end);
    if (utf8 != cp936) return utf8 ? GameEncoding::utf8 : GameEncoding::gbk;
    const GameEncoding game = settled.load();
    if (game != GameEncoding::unknown) return game;
    return utf8 ? GameEncoding::utf8 : GameEncoding::gbk;
}

std::string gameTextAsUtf8(const char* text) {
    if (!text) return std::string();
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const auto* end = p + strlen(text);
    if (validUtf8(p, end)) return std::string(text);
    std::string out;
    while (p < end) {
        if (*p < 0x80) {
            out += static_cast<char>(*p++);
            continue;
        }
        const unsigned char* run = p;
        while (p < end && *p >= 0x80) ++p;
        if (validUtf8(run, p)) {
            out.append(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
        } else {
            for (char32_t c : decodeCp936(run, static_cast<size_t>(p - run))) appendUtf8(out, c);
        }
    }
    return out;
}

std::string gameStringAsUtf8(const char* text) {
    if (!text || encodingOf(text) != GameEncoding::gbk) return text ? std::string(text) : std::string();
    std::string out;
    for (char32_t c : platformSplitGameString(text)) appendUtf8(out, c);
    return out;
}

void platformNoteGameString(const char* text) { noteGameString(text); }

// A string read as code page 936 is read in byte pairs; UTF-8 is not.
bool platformDoubleByteString(const char* text) { return text && encodingOf(text) == GameEncoding::gbk; }

std::u32string platformSplitGameString(const char* text) {
    if (!text) return std::u32string();
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (encodingOf(text) == GameEncoding::utf8) return decodeUtf8(p);
    return decodeCp936(p, strlen(text));
}

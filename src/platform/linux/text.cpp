// Linux backend, text: the game's encoding and its characters.
//   implemented: every function of the section.
//   differs from Windows: a game string is UTF-8 when it is valid UTF-8, else
//     code page 936 (GBK), settled by the first string valid in only one;
//     VINDLE_ENCODING=gbk or utf-8 forces it. iconv decodes, one converter per
//     thread and direction (iconv handles are not safe to share).
#include "platform/linux/text.h"

#include "platform/platform.h"

#include <iconv.h>

#include <strings.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// One converter per thread and direction, opened on first need; iconv handles
// are not safe to share.
class Converter {
public:
    Converter(const char* to, const char* from) : to_(to), from_(from) {}
    ~Converter() {
        if (handle_ != kNone) iconv_close(handle_);
    }

    // Converts length bytes whole; false when any of them does not convert.
    bool convert(const void* bytes, size_t length, void* out, size_t outSize, size_t& written) {
        if (handle_ == kNone) handle_ = iconv_open(to_, from_);
        if (handle_ == kNone) return false;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        char in[8];
        if (length > sizeof in) return false;
        memcpy(in, bytes, length);
        char* inPtr = in;
        char* outPtr = static_cast<char*>(out);
        size_t inLeft = length, outLeft = outSize;
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return false;
        written = outSize - outLeft;
        return true;
    }

private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    const char* to_;
    const char* from_;
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

// The code point of a well-formed UTF-8 character of length bytes.
char32_t utf8CodePoint(const unsigned char* p, size_t length) {
    static const unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = p[0] & kLeadMask[length];
    for (size_t i = 1; i < length; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    return cp;
}

// Strict UTF-8 (no overlong forms, surrogates or code points past U+10FFFF);
// each byte that starts no character becomes one U+FFFD.
void decodeUtf8(const unsigned char* p, const unsigned char* end, std::u32string& out) {
    while (p < end) {
        const size_t length = utf8Length(p, end);
        out.push_back(length ? utf8CodePoint(p, length) : kReplacementCharacter);
        p += length ? length : 1;
    }
}

// True when every byte of text reads as code page 936: ASCII, the euro sign
// 0x80, or a lead byte with a trail byte that makes a character.
bool isGbk(const unsigned char* p, const unsigned char* end) {
    while (p < end) {
        if (*p < 0x80) {
            ++p;
        } else if (*p >= 0x81 && *p <= 0xFE) {
            if (end - p < 2 || decodeCp936Character(p, 2) == kReplacementCharacter) return false;
            p += 2;
        } else if (*p == 0x80) {
            ++p;
        } else {
            return false;
        }
    }
    return true;
}

bool hasHighBytes(const unsigned char* p, const unsigned char* end) {
    for (; p < end; ++p)
        if (*p >= 0x80) return true;
    return false;
}

// The GB2312 row of a character (0xA1..0xF7), or 0 when GB2312 lacks it:
// rows 0xB0..0xD7 hold the 3,755 common ideographs, 0xD8..0xF7 the rest.
int gb2312Row(char32_t cp) {
    thread_local Converter encoder("GB2312", "UTF-32LE");
    unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                           static_cast<unsigned char>(cp >> 16), static_cast<unsigned char>(cp >> 24)};
    unsigned char out[8];
    size_t written = 0;
    if (!encoder.convert(in, sizeof in, out, sizeof out, written) || written != 2) return 0;
    return out[0];
}

// How likely a character is in a game's Chinese text, as a rough log
// probability: common ideographs most, then Chinese punctuation, rarer
// ideographs and emoji; Latin-1, Greek, Cyrillic and IPA letters seldom; and
// what no text holds (controls, private use, U+FFFD) almost never. Readings
// are compared by their sums, so a reading that needs more characters for the
// same bytes pays for each.
int characterScore(char32_t cp) {
    if (cp < 0x80) return 0;
    if (cp < 0xA0 || cp == kReplacementCharacter || (cp >= 0xE000 && cp <= 0xF8FF)) return -40;
    const bool ideograph =
        (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0xF900 && cp <= 0xFAFF);
    const bool punctuation =
        (cp >= 0x3000 && cp <= 0x303F) || (cp >= 0xFF00 && cp <= 0xFFEF) || (cp >= 0x2010 && cp <= 0x2027);
    if (cp >= 0x1F000 && cp <= 0x1FAFF) return -10;  // emoji: only UTF-8 holds them
    if (!ideograph && !punctuation) return -15;
    const int row = gb2312Row(cp);
    if (ideograph) return row >= 0xB0 && row <= 0xD7 ? -8 : row >= 0xD8 ? -12 : -16;
    return row ? -5 : -12;
}

long totalScore(const std::u32string& characters) {
    long sum = 0;
    for (char32_t cp : characters) sum += characterScore(cp);
    return sum;
}

// Decides a text valid in both encodings: the more likely reading, the
// game's encoding on a tie.
GameEncoding morePlausible(const unsigned char* p, const unsigned char* end, GameEncoding tie) {
    std::string text(reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));
    std::u32string asUtf8, asGbk;
    decodeUtf8(p, end, asUtf8);
    decodeCp936(reinterpret_cast<const unsigned char*>(text.c_str()), asGbk);
    const long utf8 = totalScore(asUtf8), gbk = totalScore(asGbk);
    if (utf8 != gbk) return gbk > utf8 ? GameEncoding::gbk : GameEncoding::utf8;
    return tie == GameEncoding::gbk ? GameEncoding::gbk : GameEncoding::utf8;
}

struct EncodingState {
    std::atomic<GameEncoding> settled{GameEncoding::unknown};
    std::atomic<bool> forced{false};
};

// VINDLE_ENCODING=gbk or utf-8 (any letter case, "utf8" too) forces the
// game's encoding; anything else leaves it to the game's strings.
void readForcedEncoding(EncodingState& state) {
    GameEncoding forced = GameEncoding::unknown;
    if (const char* name = getenv("VINDLE_ENCODING")) {
        if (strcasecmp(name, "gbk") == 0 || strcasecmp(name, "cp936") == 0) forced = GameEncoding::gbk;
        if (strcasecmp(name, "utf-8") == 0 || strcasecmp(name, "utf8") == 0) forced = GameEncoding::utf8;
    }
    state.forced.store(forced != GameEncoding::unknown);
    state.settled.store(forced);
}

EncodingState& encodingState() {
    static EncodingState* const state = [] {
        auto* fresh = new EncodingState;  // outlives exit handlers
        readForcedEncoding(*fresh);
        return fresh;
    }();
    return *state;
}

}  // namespace

char32_t decodeCp936Character(const unsigned char* bytes, size_t length) {
    thread_local Converter decoder("UTF-32LE", "CP936");
    unsigned char result[8] = {};
    size_t written = 0;
    if (!decoder.convert(bytes, length, result, sizeof result, written) || written != 4) return kReplacementCharacter;
    return static_cast<char32_t>(result[0]) | static_cast<char32_t>(result[1]) << 8 |
           static_cast<char32_t>(result[2]) << 16 | static_cast<char32_t>(result[3]) << 24;
}

GameEncoding gameEncoding() { return encodingState().settled.load(); }

void noteGameString(const char* text) {
    EncodingState& state = encodingState();
    if (!text || state.settled.load() != GameEncoding::unknown) return;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* const end = p + strlen(text);
    if (!hasHighBytes(p, end)) return;
    const bool utf8 = isUtf8(p, end), gbk = isGbk(p, end);
    if (utf8 == gbk) return;
    GameEncoding expected = GameEncoding::unknown;
    state.settled.compare_exchange_strong(expected, utf8 ? GameEncoding::utf8 : GameEncoding::gbk);
}

void resetGameEncoding() { readForcedEncoding(encodingState()); }

GameEncoding encodingOf(const char* text) {
    EncodingState& state = encodingState();
    const GameEncoding game = state.settled.load();
    if (state.forced.load()) return game;
    const auto* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    const unsigned char* const end = p + strlen(reinterpret_cast<const char*>(p));
    const bool utf8 = isUtf8(p, end), gbk = isGbk(p, end);
    if (utf8 && !gbk) return GameEncoding::utf8;
    if (gbk && !utf8) return GameEncoding::gbk;
    if (game != GameEncoding::unknown) return game;
    if (!utf8) return GameEncoding::gbk;  // neither: read as GBK, broken bytes marked
    return morePlausible(p, end, GameEncoding::unknown);
}

std::u32string splitGameString(const char* text) {
    std::u32string out;
    if (!text) return out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (encodingOf(text) == GameEncoding::utf8) {
        decodeUtf8(bytes, bytes + strlen(text), out);
        return out;
    }
    decodeCp936(bytes, out);
    return out;
}

std::string gameTextAsUtf8(const char* text) {
    if (!text) return std::string();
    const auto* begin = reinterpret_cast<const unsigned char*>(text);
    const size_t length = strlen(text);
    const unsigned char* const end = begin + length;
    const GameEncoding game = gameEncoding();
    if (!hasHighBytes(begin, end) ||
        (game != GameEncoding::gbk && isUtf8(begin, end) && (game == GameEncoding::utf8 || !isGbk(begin, end))))
        return std::string(text);

    // The engine's UTF-8 and the game's GBK may meet without a blank between
    // them ("%s精灵"), so the text is cut into characters of either encoding
    // the most likely way: the best sum of character scores, a switch of
    // encoding costing extra and the game's encoding gaining a little.
    enum { kUtf8, kGbk, kModes };
    constexpr long kSwitch = 6, kGameBonus = 1, kBroken = -40;
    constexpr long kNone = std::numeric_limits<long>::min() / 2;
    struct Step {
        long score = kNone;
        int fromMode = 0;
        size_t fromPos = 0;
        char32_t cp = 0;  // 0: a dropped cut character; '?' for broken bytes
    };
    std::vector<std::array<Step, kModes>> best(length + 1);
    best[0][kUtf8].score = best[0][kGbk].score = 0;
    const int gameMode = game == GameEncoding::gbk ? kGbk : game == GameEncoding::utf8 ? kUtf8 : -1;
    auto offer = [&](size_t from, int fromMode, size_t to, int mode, long gain, char32_t cp) {
        long score = best[from][fromMode].score + gain - (mode != fromMode && cp >= 0x80 ? kSwitch : 0) +
                     (mode == gameMode && cp >= 0x80 ? kGameBonus : 0);
        Step& step = best[to][mode];
        if (score > step.score) step = Step{score, fromMode, from, cp};
    };
    for (size_t i = 0; i < length; ++i)
        for (int mode = 0; mode < kModes; ++mode) {
            if (best[i][mode].score == kNone) continue;
            const unsigned char* p = begin + i;
            if (*p < 0x80) {
                offer(i, mode, i + 1, mode, 0, *p);
                continue;
            }
            if (size_t n = utf8Length(p, end)) {
                const char32_t cp = utf8CodePoint(p, n);
                offer(i, mode, i + n, kUtf8, characterScore(cp), cp);
            } else if (isCutUtf8Character(p, end)) {
                offer(i, mode, length, kUtf8, 0, 0);  // cut off by a full buffer
            }
            const bool pair = *p >= 0x81 && *p <= 0xFE && p + 1 < end && p[1] >= 0x40 && p[1] <= 0xFE && p[1] != 0x7F;
            const char32_t cp = pair ? decodeCp936Character(p, 2) : *p == 0x80 ? decodeCp936Character(p, 1) : 0;
            if (cp && cp != kReplacementCharacter)
                offer(i, mode, i + (pair ? 2 : 1), kGbk, characterScore(cp), cp);
            else
                offer(i, mode, i + 1, mode, kBroken, '?');
        }

    std::vector<char32_t> characters;
    int mode = best[length][kUtf8].score >= best[length][kGbk].score ? kUtf8 : kGbk;
    for (size_t pos = length; pos > 0;) {
        const Step& step = best[pos][mode];
        if (step.cp) characters.push_back(step.cp);
        pos = step.fromPos;
        mode = step.fromMode;
    }
    std::string out;
    for (auto it = characters.rbegin(); it != characters.rend(); ++it) appendUtf8(*it, out);
    return out;
}

std::string gameStringAsUtf8(const char* text) {
    std::string out;
    for (char32_t cp : splitGameString(text)) appendUtf8(cp, out);
    return out;
}

void platformNoteGameString(const char* text) { noteGameString(text); }

bool platformDoubleByteString(const char* text) {
    if (!text) return false;
    // In UTF-8 every byte of a multi-byte character is above ASCII; in GBK a
    // trail byte may be a letter or '\\'. Reading pairs never gives two
    // names one lower-cased key, so it is taken whenever the game is not known
    // to be UTF-8. No conversion is asked for: sprites lower their frame's
    // path on every frame.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    return !(gameEncoding() == GameEncoding::utf8 && isUtf8(bytes, bytes + strlen(text)));
}

std::u32string platformSplitGameString(const char* text) { return splitGameString(text); }

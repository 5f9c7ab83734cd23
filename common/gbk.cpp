#include "gbk.h"

#include <QChar>
#include <array>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <vector>

namespace corvexa::gbk {
namespace {

// GBK code (0 = not encodable) and upper-cased sort key of every BMP code point,
// built once from the C library's converter.
struct Tables {
    std::vector<uint16_t> code = std::vector<uint16_t>(0x10000, 0);
    std::vector<uint32_t> key = std::vector<uint32_t>(0x10000, 0);

    Tables() {
        iconv_t cd = iconv_open("GBK", "UTF-32LE");
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            for (uint32_t cp = 0x80; cp < 0x10000; ++cp) {
                if (cp >= 0xD800 && cp <= 0xDFFF) continue;
                uint32_t in = cp;
                char* inPtr = reinterpret_cast<char*>(&in);
                size_t inLeft = 4;
                unsigned char out[8];
                char* outPtr = reinterpret_cast<char*>(out);
                size_t outLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                    sizeof out - outLeft == 2)
                    code[cp] = static_cast<uint16_t>(out[0] << 8 | out[1]);
            }
            iconv_close(cd);
        }
        for (uint32_t cp = 0; cp < 0x80; ++cp)
            code[cp] = static_cast<uint16_t>(cp);
        for (uint32_t cp = 0; cp < 0x10000; ++cp) {
            uint32_t upper = (cp >= 0xD800 && cp <= 0xDFFF) ? cp : QChar::toUpper(char32_t(cp));
            if (upper > 0xFFFF) upper = cp;
            uint16_t c = code[upper] ? code[upper] : code[cp];
            key[cp] = (!c && cp != 0) ? 0x10000 + cp : c;
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

// Decodes one UTF-8 sequence; malformed bytes decode as themselves + 0xDC00
// so that they still compare deterministically.
inline uint32_t nextUtf8(const unsigned char*& p, const unsigned char* end) {
    unsigned c = *p++;
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || end - p < extra) return 0xDC00 + c;
    uint32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0xDC00 + c;
        cp = cp << 6 | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

inline uint32_t keyOf(uint32_t cp) {
    return cp < 0x10000 ? tables().key[cp] : 0x10000 + cp;
}

} // namespace

int byteWidth(QStringView text) {
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            width += 2;
        } else {
            width += c < 0x80 ? 1 : 2;
        }
    }
    return width;
}

int byteWidthUtf8(const char* data, int length) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + length;
    int width = 0;
    while (p < end)
        width += nextUtf8(p, end) < 0x80 ? 1 : 2;
    return width;
}

namespace {
// Compares two streams of sort keys; 0xFFFFFFFF marks the end of a stream.
template <typename NextA, typename NextB> int compareKeys(NextA nextA, NextB nextB) {
    for (;;) {
        uint32_t a = nextA();
        uint32_t b = nextB();
        if (a == b) {
            if (a == 0xFFFFFFFF) return 0;
            continue;
        }
        if (a == 0xFFFFFFFF) return -1;
        if (b == 0xFFFFFFFF) return 1;
        return a < b ? -1 : 1;
    }
}
} // namespace

int compare(QStringView a, QStringView b) {
    while (!a.isEmpty() && a.back() == u' ')
        a.chop(1);
    while (!b.isEmpty() && b.back() == u' ')
        b.chop(1);
    qsizetype i = 0, j = 0;
    auto next = [](QStringView s, qsizetype& k) -> uint32_t {
        if (k >= s.size()) return 0xFFFFFFFF;
        char16_t c = s[k++].unicode();
        if (QChar::isHighSurrogate(c) && k < s.size() && s[k].isLowSurrogate())
            return keyOf(QChar::surrogateToUcs4(c, s[k++].unicode()));
        return keyOf(c);
    };
    return compareKeys([&] { return next(a, i); }, [&] { return next(b, j); });
}

int compareUtf8(const char* a, int lengthA, const char* b, int lengthB) {
    while (lengthA > 0 && a[lengthA - 1] == ' ')
        --lengthA;
    while (lengthB > 0 && b[lengthB - 1] == ' ')
        --lengthB;
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* ea = pa + lengthA;
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    const auto* eb = pb + lengthB;
    return compareKeys([&]() -> uint32_t { return pa < ea ? keyOf(nextUtf8(pa, ea)) : 0xFFFFFFFF; },
                       [&]() -> uint32_t { return pb < eb ? keyOf(nextUtf8(pb, eb)) : 0xFFFFFFFF; });
}

} // namespace corvexa::gbk

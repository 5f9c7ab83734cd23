#pragma once
// Text rules of the records: widths count bytes in the GBK code page, and text
// compares case-insensitively in GBK byte order with trailing blanks ignored.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace corvexa::gbk {

// Bytes the text takes in GBK: 1 for ASCII, 2 for a GBK double-byte character.
// A character that GBK cannot encode counts 2 (it would be stored as a
// replacement of that width).
int byteWidth(QStringView text);
int byteWidthUtf8(const char* data, int length);

// Collation used by every text comparison of the server: case-insensitive,
// trailing blanks ignored, GBK byte order (pinyin order for common Chinese).
int compare(QStringView a, QStringView b);
int compareUtf8(const char* a, int lengthA, const char* b, int lengthB);

} // namespace corvexa::gbk

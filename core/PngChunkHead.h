#pragma once
// The 8-byte head of a PNG chunk, for the readers that walk a PNG file's
// chunks before the toolkit decodes it.
#include <QtEndian>

#include <cstring>

inline const char kPngSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

struct PngChunkHead
{
  // The longest chunk data a PNG file may announce.
  static constexpr quint32 kMaxLength = 0x7fffffffu;

  quint32 length = 0;
  char type[4] = {};
  bool valid = false; // a length a file could hold

  // The head at bytes: big-endian data length, then the type.
  static PngChunkHead at(const char* bytes)
  {
    PngChunkHead head;
    head.length = qFromBigEndian<quint32>(bytes);
    head.valid = head.length <= kMaxLength;
    std::memcpy(head.type, bytes + 4, 4);
    return head;
  }

  bool is(const char* name) const { return std::memcmp(type, name, 4) == 0; }

  // An ancillary chunk (a lower-case first letter) that leaves the pixels as
  // they are: every one but the transparency chunk. The decoder would only
  // read metadata out of it, which a cell does not keep.
  bool leavesPixels() const
  {
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    return type[0] >= 'a' && type[0] <= 'z' && letter(type[1]) && letter(type[2]) && letter(type[3]) &&
           !is("tRNS");
  }
};

#pragma once
// The source of an element read from an element file: "path?number" or
// "path?number_counter". The text after the last "?" decides, since a folder
// name may hold a "?" itself.

#include <optional>
#include <string>

struct ElementFileSource
{
  std::string path;    // the element file, before the last "?"
  std::string number;  // the element's number in that file: digits, unparsed
  std::string counter; // the load counter: digits, unparsed; empty when the source has none
};

// The parts of source, or nothing when it is no element-file source.
std::optional<ElementFileSource> elementFileSource(const std::string& source);

// The value of a run of digits; nothing beyond 9 digits (beyond any element
// count, and beyond int).
std::optional<int> parseSourceNumber(const std::string& digits);

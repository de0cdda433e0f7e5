#include "model/ElementFileSource.h"

#include <algorithm>
#include <cctype>

namespace {

bool allDigits(const std::string& text)
{
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

std::optional<ElementFileSource> elementFileSource(const std::string& source)
{
  const std::size_t mark = source.rfind('?');
  if (mark == std::string::npos)
    return std::nullopt;
  const std::string tail = source.substr(mark + 1);
  const std::size_t underscore = tail.find('_');
  const std::string number = tail.substr(0, underscore);
  const std::string counter = underscore == std::string::npos ? std::string() : tail.substr(underscore + 1);
  if (!allDigits(number) || (underscore != std::string::npos && !allDigits(counter)))
    return std::nullopt;
  return ElementFileSource{source.substr(0, mark), number, counter};
}

std::optional<int> parseSourceNumber(const std::string& digits)
{
  if (digits.empty() || digits.size() > 9 || !allDigits(digits))
    return std::nullopt;
  return std::stoi(digits);
}

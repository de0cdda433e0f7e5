#pragma once
#include <cstdint>

// Type codes of the settings values. The numbers are part of the store's
// contract and must not change.
enum IniType : uint16_t {
  IniDouble = 0,
  IniString = 1,
  IniBool = 2,
  IniInt = 3,
};

// One key of a set: which key it is, what type its value has, and where that
// value stands in the set's list of that type.
struct IniIndexEntry
{
  int keyId = 0;
  uint16_t type = IniDouble;
  int index = 0;
};

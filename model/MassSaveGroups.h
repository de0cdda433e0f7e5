#pragma once
// How the mass save sees the elements of a character: elements of one load of
// one element file form a group, saved and recoloured together; every other
// element stands alone and is found again, in a merged copy, by the index it
// had in the plain copy ("|" and that index after its source).

#include <optional>
#include <string>
#include <utility>

class CharacterData;

// The element file and load counter of an element-file element; nothing for
// any other element, nor for an element-file element without a counter,
// which no load counter could name.
std::optional<std::pair<std::string, int>> massSaveGroup(const std::string& source);

// True when two different elements come from the same element file, whatever
// their loads.
bool offersMassSaveGrouping(const CharacterData& document);

// Appends "|" and its index to the source of every element outside a group.
void addMassSaveReferences(CharacterData& document);

// Merges each group of two or more members, listed by ascending number (equal
// numbers in index order), into its lowest-numbered member. A group whose
// merge fails stays as it was.
void mergeMassSaveGroups(CharacterData& document);

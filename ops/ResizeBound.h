#pragma once
class CharacterData;

// Whether resizeCells with these factors keeps every cell in scope within the
// side the readers accept (kMaxSheetSide), so that the character can still
// be saved and opened again. Reads the snapshot's cells with fromSnapshot.
bool resizeKeepsCellsReadable(CharacterData& document, double sx, double sy, bool fromSnapshot);

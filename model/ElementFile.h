#pragma once
// Element files (.elsk): several element sheets placed around a target
// element, each cut into cells cropped to their visible pixels.
#include "model/CharacterData.h"

#include <QImage>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The source of the one entry of a composition that stands for the element a
// character has selected when the file is added to it.
inline constexpr char kPlaceholderSource[] = "?SK?";

// The file stores its element count as one signed byte.
inline constexpr int kMaxElementFileSheets = 127;

// What an element file is written from: a composition whose simple elements
// carry as source the decimal index of their sheet in sheetImages, and one
// placeholder entry. Gives the sheets in the composition's order, without the
// placeholder, and sets marker to the placeholder's position (the number of
// sheets below it). A source naming no sheet leaves a null sheet there, which
// the writer refuses.
std::vector<QImage> elementFileSheets(const CharacterData& composition, const std::vector<QImage>& sheetImages,
                                      int& marker);

// Writes the sheets (bottom first, without the marker entry) with marker
// elements below the target. Returns 0 on success, otherwise a file error code
// (QFileDevice::FileError) with, when asked, the reason; an existing file is
// replaced only on success.
int saveElementFile(const char* path, const std::vector<QImage>& sheets, char marker, char layout,
                    QString* reason = nullptr);

// Reads the file as two documents: [0] the elements below the target, [1]
// those above it. On failure returns nothing and sets errorMessage. A caller
// that may give up (a preview no longer wanted) passes stop: once it turns
// true the cells left are not decoded and the read fails.
std::optional<std::array<CharacterData, 2>> loadElementFile(const std::string& path, std::string& errorMessage,
                                                            const std::function<bool()>& stop = {});

// The composite as one flattened sheet (group 1 over group 0); a null image or
// pixmap when the file does not read. A caller that no longer needs the
// picture makes superseded() true: the image is then null, without the rest
// of the decoding nor the flattening, which take seconds on a huge sheet.
QImage elementFilePreviewImage(const std::string& path, const std::function<bool()>& superseded = {});
QPixmap renderElementFilePreview(const std::string& path);

// Reads the file and writes it back in the current layout.
void resaveElementFile(const std::string& path);

// The process-wide serial that the next successful version check hands out.
// Loads on any thread draw distinct serials.
uint32_t elementFileLoadSerial();

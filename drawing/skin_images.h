// The SkinImageTable: the 50 skin images, decoded once at start-up from the folder "gx" beside
// the program and kept for the life of the process. Windows name images by index, never by file.
#pragma once

#include "data/gx/skin_index.h"

#include <device/windows.h>

// Windows name an image by its SkinImageIndex (skin_index.h, generated with the images).
constexpr int kSkinImageCount = 50;
static_assert(kSkinImageTableSize == kSkinImageCount, "skin_index.h was generated for another table");
constexpr int kSkinFileNameLength = 30;

// The file names in index order (zero-terminated, zero-padded fields of 30 characters).
extern const WCHAR kSkinFileNames[kSkinImageCount][kSkinFileNameLength];

// Fills every slot from its file, in index order. A file that cannot be decoded leaves its
// slot empty; nothing is reported. Called once, before any window exists.
void LoadSkinImages();

// Decodes "<program folder>gx\<fileName>"; none when the file is missing or undecodable.
HBITMAP LoadSkinImage(const WCHAR* fileName);

// Decodes the PNG file at a device path through the image decompression library.
HBITMAP DecodeImageFile(const WCHAR* fullPath);

// Slot `index` of the table; none for an empty slot, an index out of range or before loading.
HBITMAP SkinImage(int index);

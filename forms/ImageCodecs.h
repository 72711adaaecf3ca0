#pragma once
// Reading and writing picture files: BMP through our own codec, PNG and GIF through the
// system's imaging component, JPEG through a small built-in encoder that honours the
// quality. The imaging component needs COM, which the caller initialises.
#include <windows.h>

#include <string>

#include "core/Bitmap32.h"
#include "core/ImageFileType.h"

struct TImageSaveOptions {
    // A BMP file of 24 bits per pixel, as captures are saved, instead of 32 bits with alpha.
    bool Bmp24 = false;
    // Never replace a file: when the name exists the save fails with an EOSError whose code
    // is ERROR_ALREADY_EXISTS, and that file is left as it was.
    bool CreateNew = false;
};

// Writes the picture as a file of the type: BMP (32 bits with alpha, or 24), GIF (reduced
// to a palette of 256 colours), JPEG (at jpegQuality, 1..100, opaque) or PNG (with alpha
// when the picture has any). The file appears complete or not at all: the data goes to a
// temporary file in the same folder first, which then takes the name. Failures throw an
// Exception whose message names the file.
void SaveBitmapToFile(const TBitmap32& image, const std::wstring& path, TImageFileType type, int jpegQuality,
                      TImageSaveOptions options = {});

// Reads a BMP, GIF, JPEG or PNG file, recognised by its first bytes. PNG pixels keep their
// alpha (not premultiplied); the other types are opaque, except 32-bit BMP files with alpha.
// On failure returns false with a message naming the file and leaves `out` unchanged.
bool LoadImageFile(const std::wstring& path, TBitmap32& out, std::wstring& error);

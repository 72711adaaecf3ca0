#include "forms/ImageCodecs.h"

#include <windows.h>

#include <objidl.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <stb/stb_image_write.h>
#include <vector>

#include "core/BmpCodec.h"
#include "core/GifCheck.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Handles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The largest file read whole: a 32-bit BMP of the largest picture TBitmap32 holds.
constexpr std::uint64_t kMaxFileBytes = (std::uint64_t{1} << 30) + (1 << 16);

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

std::wstring HResultText(HRESULT hr) {
    std::wstring hex = L"0x00000000";
    auto value = static_cast<std::uint32_t>(hr);
    for (std::size_t i = hex.size(); i > 2; --i, value >>= 4)
        hex[i - 1] = L"0123456789ABCDEF"[value & 0xF];
    return SysErrorMessage(static_cast<DWORD>(hr)) + L" (" + hex + L")";
}

// Turns a failed imaging call into an exception that says what was being done.
void Check(HRESULT hr, const std::wstring& context, const wchar_t* step) {
    if (FAILED(hr))
        throw Exception(context + L": " + step + L" failed: " + HResultText(hr));
}

TComPtr<IWICImagingFactory> ImagingFactory(const std::wstring& context) {
    TComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.Put())),
          context, L"starting the imaging component");
    return factory;
}

bool HasTransparency(const TBitmap32& image) {
    const TColor32* p = image.Bits();
    return std::any_of(p,
                       p + static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height()),
                       [](TColor32 c) { return AlphaComponent(c) != 255; });
}

// ---- Writing ----

// PNG and GIF through the imaging component, encoded into memory.
Bytes EncodeWithImaging(const TBitmap32& image, TImageFileType type, const std::wstring& context) {
    const auto width = static_cast<UINT>(image.Width());
    const auto height = static_cast<UINT>(image.Height());
    const UINT stride = width * 4;
    TComPtr<IWICImagingFactory> factory = ImagingFactory(context);

    TComPtr<IStream> stream;
    Check(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), context, L"creating a memory stream");
    TComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(type == TImageFileType::Png ? GUID_ContainerFormatPng
                                                             : GUID_ContainerFormatGif,
                                 nullptr, encoder.Put()),
          context, L"creating the encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), context, L"starting the encoder");
    TComPtr<IWICBitmapFrameEncode> frame;
    TComPtr<IPropertyBag2> options;
    Check(encoder->CreateNewFrame(frame.Put(), options.Put()), context, L"creating the frame");
    Check(frame->Initialize(options.Get()), context, L"starting the frame");
    Check(frame->SetSize(width, height), context, L"sizing the frame");

    // The picture's own memory serves as the source; GIF ignores alpha.
    const bool withAlpha = type == TImageFileType::Png && HasTransparency(image);
    TComPtr<IWICBitmap> source;
    Check(factory->CreateBitmapFromMemory(
              width, height,
              type == TImageFileType::Png ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat32bppBGR,
              stride, stride * height, reinterpret_cast<BYTE*>(const_cast<TColor32*>(image.Bits())),
              source.Put()),
          context, L"preparing the pixels");

    TComPtr<IWICBitmapSource> pixels;
    TComPtr<IWICFormatConverter> converter;
    WICPixelFormatGUID format;
    if (type == TImageFileType::Gif) {
        // GIF holds at most 256 colours: the imaging component picks a palette for the
        // picture and maps every pixel to it.
        TComPtr<IWICPalette> palette;
        Check(factory->CreatePalette(palette.Put()), context, L"creating the palette");
        Check(palette->InitializeFromBitmap(source.Get(), 256, FALSE), context, L"choosing the palette");
        Check(factory->CreateFormatConverter(converter.Put()), context, L"creating the converter");
        Check(converter->Initialize(source.Get(), GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone,
                                    palette.Get(), 0.0, WICBitmapPaletteTypeCustom),
              context, L"reducing the colours");
        Check(frame->SetPalette(palette.Get()), context, L"storing the palette");
        format = GUID_WICPixelFormat8bppIndexed;
    } else {
        // An opaque picture makes a smaller file without its alpha channel.
        format = withAlpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
        Check(WICConvertBitmapSource(format, source.Get(), pixels.Put()), context, L"converting the pixels");
    }
    WICPixelFormatGUID accepted = format;
    Check(frame->SetPixelFormat(&accepted), context, L"choosing the pixel format");
    if (accepted != format && type == TImageFileType::Png)
        Check(WICConvertBitmapSource(accepted, source.Get(), pixels.Put()), context,
              L"converting the pixels");
    IWICBitmapSource* encoded = converter ? static_cast<IWICBitmapSource*>(converter.Get()) : pixels.Get();
    Check(frame->WriteSource(encoded, nullptr), context, L"encoding the pixels");
    Check(frame->Commit(), context, L"finishing the frame");
    Check(encoder->Commit(), context, L"finishing the file");

    STATSTG stat{};
    Check(stream->Stat(&stat, STATFLAG_NONAME), context, L"measuring the file");
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream.Get(), &memory), context, L"reading the file");
    TGlobalLock<std::uint8_t> locked(memory);
    if (!locked || stat.cbSize.QuadPart > GlobalSize(memory))
        throw Exception(context + L": the encoded picture could not be read back");
    const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    return Bytes(locked.Get(), locked.Get() + size);
}

Bytes EncodeJpeg(const TBitmap32& image, int quality, const std::wstring& context) {
    // The encoder takes rows of R, G, B from the top.
    const auto width = static_cast<std::size_t>(image.Width());
    Bytes rgb(width * static_cast<std::size_t>(image.Height()) * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < image.Height(); ++y) {
        const TColor32* row = image.ScanLine(y);
        for (std::size_t x = 0; x < width; ++x) {
            *out++ = RedComponent(row[x]);
            *out++ = GreenComponent(row[x]);
            *out++ = BlueComponent(row[x]);
        }
    }
    // The encoder is plain C: nothing may be thrown through it, so the output callback
    // notes a failure instead.
    struct Output {
        Bytes bytes;
        bool failed = false;
    } output;
    const auto append = [](void* target, void* data, int size) {
        auto* o = static_cast<Output*>(target);
        const auto* first = static_cast<const std::uint8_t*>(data);
        try {
            o->bytes.insert(o->bytes.end(), first, first + size);
        } catch (...) {
            o->failed = true;
        }
    };
    if (!stbi_write_jpg_to_func(append, &output, image.Width(), image.Height(), 3, rgb.data(),
                                std::clamp(quality, 1, 100)) ||
        output.failed)
        throw Exception(context + L": the JPEG encoder failed");
    return std::move(output.bytes);
}

// ---- Reading ----

Bytes ReadWholeFile(const std::wstring& path) {
    const std::wstring context = L"Cannot read " + Quoted(path);
    // Shared for deletion too: reading a picture never keeps another program (or a save of
    // our own) from replacing the file through a rename.
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseLastOSError(context);
    // A file that shrank while it was read gives what was there.
    TFileRead read = ReadOpenFile(file.Get(), kMaxFileBytes);
    if (read.Status == TReadStatus::TooLarge)
        throw Exception(context + L": the file is too large for a picture");
    if (read.Status == TReadStatus::Failed)
        RaiseOSError(read.Error, context);
    return std::move(read.Bytes);
}

// The size a PNG file's header announces, checked before the imaging component is given a
// file that would make it allocate a huge picture.
bool PngSizeAcceptable(std::span<const std::uint8_t> data) {
    if (data.size() < 24 || std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        return true; // the decoder refuses such a file by itself
    const auto be32 = [&](std::size_t at) {
        return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
               (std::uint32_t{data[at + 2]} << 8) | std::uint32_t{data[at + 3]};
    };
    const std::uint32_t width = be32(16), height = be32(20);
    return width <= TBitmap32::kMaxSide && height <= TBitmap32::kMaxSide &&
           TBitmap32::ValidSize(static_cast<int>(width), static_cast<int>(height));
}

TBitmap32 DecodeWithImaging(std::span<const std::uint8_t> data, TImageFileType type,
                            const std::wstring& context) {
    if (type == TImageFileType::Png && !PngSizeAcceptable(data))
        throw Exception(context + L": the picture is too large");
    TComPtr<IWICImagingFactory> factory = ImagingFactory(context);
    TComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Put()), context, L"creating a stream");
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size())),
          context, L"opening the data");
    TComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                           decoder.Put()),
          context, L"reading the picture");
    TComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.Put()), context, L"reading the picture");
    UINT width = 0, height = 0;
    Check(frame->GetSize(&width, &height), context, L"reading the picture size");
    if (width > TBitmap32::kMaxSide || height > TBitmap32::kMaxSide ||
        !TBitmap32::ValidSize(static_cast<int>(width), static_cast<int>(height)))
        throw Exception(context + L": the picture is too large");

    // Straight (not premultiplied) alpha, the layout of TBitmap32.
    TComPtr<IWICBitmapSource> pixels;
    Check(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), pixels.Put()), context,
          L"converting the pixels");
    TBitmap32 image(static_cast<int>(width), static_cast<int>(height));
    if (!image.Empty())
        Check(
            pixels->CopyPixels(nullptr, width * 4, width * height * 4, reinterpret_cast<BYTE*>(image.Bits())),
            context, L"reading the pixels");
    if (type != TImageFileType::Png)
        image.ResetAlpha();
    return image;
}

// A header may announce a picture of no pixels; no document, selection or stamp can show
// one, so it is refused like any other unusable file.
bool TakeNonEmpty(TBitmap32 image, TBitmap32& out, std::wstring& error, const std::wstring& context) {
    if (image.Empty()) {
        error = context + L": the picture has no pixels";
        return false;
    }
    out = std::move(image);
    return true;
}

} // namespace

void SaveBitmapToFile(const TBitmap32& image, const std::wstring& path, TImageFileType type, int jpegQuality,
                      TImageSaveOptions options) {
    const std::wstring context = L"Cannot save " + Quoted(path);
    if (image.Empty() && type != TImageFileType::Bmp)
        throw Exception(context + L": the picture is empty");
    Bytes bytes;
    switch (type) {
    case TImageFileType::Bmp:
        bytes = options.Bmp24 ? EncodeBmp24(image) : EncodeBmp32(image);
        break;
    case TImageFileType::Jpeg:
        bytes = EncodeJpeg(image, jpegQuality, context);
        break;
    case TImageFileType::Gif:
    case TImageFileType::Png:
        bytes = EncodeWithImaging(image, type, context);
        break;
    default:
        throw Exception(context + L": unknown file type");
    }
    // The picture reaches its name whole or not at all, and never destroys the file there.
    if (const DWORD error = TryWriteFileAtomic(path, bytes, options.CreateNew))
        RaiseOSError(error, context);
}

bool LoadImageFile(const std::wstring& path, TBitmap32& out, std::wstring& error) {
    const std::wstring context = L"Cannot read " + Quoted(path);
    try {
        const Bytes data = ReadWholeFile(path);
        const auto type = ImageFileTypeFromSignature(data);
        if (!type) {
            error = context + L": the file is not a BMP, GIF, JPEG or PNG picture";
            return false;
        }
        if (*type == TImageFileType::Bmp) {
            std::string reason;
            TBitmap32 image;
            if (!DecodeBmp(data, image, reason)) {
                // The codec's reasons are plain ASCII.
                error = context + L": " + std::wstring(reason.begin(), reason.end());
                return false;
            }
            return TakeNonEmpty(std::move(image), out, error, context);
        }
        // A damaged GIF is refused before the system's decoder, which may keep memory
        // behind for every such file it reads.
        if (std::string reason; *type == TImageFileType::Gif && !CheckGifStructure(data, reason)) {
            error = context + L": " + std::wstring(reason.begin(), reason.end());
            return false;
        }
        return TakeNonEmpty(DecodeWithImaging(data, *type, context), out, error, context);
    } catch (...) {
        error = ExceptionMessage(std::current_exception());
        return false;
    }
}

// RGB pictures to and from PNG files with libpng's simplified interface.
#include "tests/support/pngimage.h"

#include <png.h>

#include <utility>

RgbImage ToRgbImage(const platform::PixelBuffer& picture)
{
    RgbImage image{picture.Width(), picture.Height(), {}};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
        {
            const platform::Rgb colour = picture.ToRgb(picture.Get(x, y));
            image.pixels.insert(image.pixels.end(), {colour.r, colour.g, colour.b});
        }
    return image;
}

std::string WritePng(const std::string& path, const RgbImage& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr))
        return png.message;
    return {};
}

std::string ReadPng(const std::string& path, RgbImage& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return png.message;
    png.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
    // A failed read frees what libpng held.
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr))
        return png.message;
    image = RgbImage{static_cast<int>(png.width), static_cast<int>(png.height), std::move(pixels)};
    return {};
}

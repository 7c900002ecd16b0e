#pragma once
// A folder of small JPEGs with a camera's Exif, each shot a few seconds after the one before, and
// their capture times read on a number of threads: what the capture benchmark and the comparison
// with exiftool share.

#include <fcntl.h>
#include <stdio.h>

#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "capture/CaptureTime.h"
#include "files/UniqueFd.h"
#include "tests/support/ExifJpeg.h"

namespace karvel::bench {

inline std::string JpegName(std::size_t i) {
    char name[32];
    std::snprintf(name, sizeof name, "DSC_%05zu.jpg", i);
    return name;
}

// The Exif a camera writes, less its maker note and thumbnail, for shot `i`.
inline std::vector<unsigned char> CameraJpeg(std::size_t i) {
    const std::size_t second = i * 7;
    char date[32];
    std::snprintf(date, sizeof date, "2024:05:%02zu %02zu:%02zu:%02zu", 1 + second / 86'400 % 28,
                  second / 3'600 % 24, second / 60 % 60, second % 60);
    return testing::JpegWithExif({
        {"Exif.Image.Make", "NIKON CORPORATION"},
        {"Exif.Image.Model", "NIKON Z 6_2"},
        {"Exif.Image.Orientation", "1", Exiv2::unsignedShort},
        {"Exif.Image.XResolution", "300/1", Exiv2::unsignedRational},
        {"Exif.Image.YResolution", "300/1", Exiv2::unsignedRational},
        {"Exif.Image.ResolutionUnit", "2", Exiv2::unsignedShort},
        {"Exif.Image.Software", "Ver.01.10"},
        {"Exif.Image.DateTime", date},
        {"Exif.Photo.ExposureTime", "1/250", Exiv2::unsignedRational},
        {"Exif.Photo.FNumber", "56/10", Exiv2::unsignedRational},
        {"Exif.Photo.ISOSpeedRatings", "400", Exiv2::unsignedShort},
        {"Exif.Photo.DateTimeOriginal", date},
        {"Exif.Photo.DateTimeDigitized", date},
        {"Exif.Photo.OffsetTimeOriginal", "+09:00"},
        {"Exif.Photo.SubSecTimeOriginal", std::to_string(i % 100)},
        {"Exif.Photo.FocalLength", "500/10", Exiv2::unsignedRational},
        {"Exif.Photo.PixelXDimension", "6048", Exiv2::unsignedLong},
        {"Exif.Photo.PixelYDimension", "4024", Exiv2::unsignedLong},
        {"Exif.Photo.ColorSpace", "1", Exiv2::unsignedShort},
    });
}

// Writes `count` JPEGs into `folder` (ending in "/"); returns their names in order.
inline std::vector<std::string> MakeCameraJpegs(const std::string& folder, std::size_t count) {
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        names.push_back(JpegName(i));
        const std::vector<unsigned char> jpeg = CameraJpeg(i);
        std::ofstream out(folder + names.back(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(jpeg.data()),
                  static_cast<std::streamsize>(jpeg.size()));
        if (!out) throw std::runtime_error("cannot write " + folder + names.back());
    }
    return names;
}

// The capture time of each of `names` in the folder, read by `threads` threads taking every
// `threads`-th name.
inline std::vector<CaptureRead> ReadCaptureTimes(const std::string& folder,
                                                 const std::vector<std::string>& names,
                                                 std::size_t threads) {
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd.Valid()) throw std::runtime_error("cannot open " + folder);
    std::vector<CaptureRead> reads(names.size());
    std::vector<std::jthread> workers;
    for (std::size_t t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (std::size_t i = t; i < names.size(); i += threads) {
                reads[i] = ReadCaptureTimeAt(folderFd.Get(), names[i]);
            }
        });
    }
    workers.clear();  // joins
    return reads;
}

}  // namespace karvel::bench

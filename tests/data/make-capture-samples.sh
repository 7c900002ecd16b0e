#!/usr/bin/env bash
# Makes the tiny sample files of tests/data/capture/, each dated differently, with the tools that
# write these formats in the wild: ffmpeg for the pixels and the movies, exiftool for the Exif,
# heif-enc for HEIC and AVIF; the raw formats are laid out by craft-raw-samples.py. The samples are
# checked in, so only their maker needs these tools (Debian: ffmpeg, libimage-exiftool-perl,
# libheif-examples, python3).
set -euo pipefail
cd "$(dirname "$0")"
out=capture
rm -rf "$out" && mkdir "$out"

pixels() { # FILE [ffmpeg options]: an 8 x 8 grey picture without any metadata
    local file=$1
    shift
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i color=gray:s=8x8 -frames:v 1 \
        -fflags +bitexact -flags +bitexact "$@" "$file"
}
exif() { # FILE TAG=VALUE...
    local file=$1
    shift
    exiftool -q -overwrite_original "${@/#/-}" "$file"
}
movie() { # FILE [ffmpeg options]: a 16 x 16 frame
    local file=$1
    shift
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i color=gray:s=16x16:d=0.04:r=25 \
        -c:v mpeg4 -q:v 31 -fflags +bitexact -flags +bitexact "$@" "$file"
}

pixels "$out/plain.jpg"
cp "$out/plain.jpg" "$out/sample.jpg"
exif "$out/sample.jpg" 'DateTimeOriginal=2024:03:05 10:20:30' SubSecTimeOriginal=123 \
    OffsetTimeOriginal=+09:00 'CreateDate=2024:03:05 10:20:31' 'ModifyDate=2024:03:06 00:00:00'

pixels "$out/sample.tif" -pix_fmt gray
exif "$out/sample.tif" 'DateTimeOriginal=2024:07:15 12:00:00'
pixels "$out/sample.png"
exif "$out/sample.png" 'DateTimeOriginal=2023:11:12 13:14:15' SubSecTimeOriginal=5
pixels "$out/sample.webp" -c:v libwebp -lossless 1
exif "$out/sample.webp" 'DateTimeOriginal=2023:12:24 18:00:00' OffsetTimeOriginal=-05:00

# heif-enc carries the Exif of the JPEG it encodes.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pixels "$work/heic.jpg"
exif "$work/heic.jpg" 'DateTimeOriginal=2022:08:01 09:30:00' SubSecTimeOriginal=042 \
    OffsetTimeOriginal=+09:00
heif-enc -q 10 "$work/heic.jpg" -o "$out/sample.heic" >/dev/null
pixels "$work/avif.jpg"
exif "$work/avif.jpg" 'DateTimeOriginal=2022:08:02 23:59:59'
heif-enc -q 10 -A "$work/avif.jpg" -o "$out/sample.avif" >/dev/null

# Europe/Berlin moves to summer time at 2024-03-31 01:00 UTC and back at 2024-10-27 01:00 UTC.
movie "$out/sample.mp4" -metadata creation_time=2024-03-31T00:59:59Z
movie "$out/sample.mov" -metadata creation_time=2024-03-31T01:00:00Z
movie "$out/sample.m4v" -metadata creation_time=2024-10-27T00:30:00Z
movie "$out/sample.3gp" -metadata creation_time=2024-10-27T01:30:00Z
movie "$out/undated.mp4"

python3 craft-raw-samples.py "$out"
ls -l "$out"

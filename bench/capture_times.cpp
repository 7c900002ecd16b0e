// Prints each file's capture time as exiftool -T -DateTimeOriginal prints its Exif date, one line a
// file and "-" for none; or makes camera JPEGs to read. For bench/compare-with-exiftool.sh.
//   capture_times [--threads N] FILE...
//   capture_times --make COUNT FOLDER
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/CaptureJpegs.h"

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--make") {
        std::filesystem::create_directories(args[2]);
        karvel::bench::MakeCameraJpegs(args[2] + "/", std::stoul(args[1]));
        return 0;
    }
    std::size_t threads = 1;
    std::size_t first = 0;
    if (args.size() >= 2 && args[0] == "--threads") {
        threads = std::stoul(args[1]);
        first = 2;
    }
    if (threads == 0 || first >= args.size()) {
        std::fprintf(stderr, "usage: capture_times [--threads N] FILE... | --make COUNT FOLDER\n");
        return 2;
    }
    // Files of one folder, as a drop gives them.
    const std::filesystem::path folder = std::filesystem::path(args[first]).parent_path();
    std::vector<std::string> names;
    for (std::size_t i = first; i < args.size(); ++i) {
        names.push_back(std::filesystem::path(args[i]).filename().string());
    }
    const auto reads = karvel::bench::ReadCaptureTimes(
        (folder.empty() ? std::string(".") : folder.string()) + "/", names, threads);
    std::string out;
    for (const auto& read : reads) {
        if (!read.time) {
            out += "-\n";
            continue;
        }
        const karvel::WallClock& c = read.time->shown;
        char line[32];
        std::snprintf(line, sizeof line, "%04d:%02d:%02d %02d:%02d:%02d\n", c.year, c.month, c.day,
                      c.hour, c.minute, c.second);
        out += line;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

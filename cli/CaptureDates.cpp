#include "cli/CaptureDates.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "filetime/CaptureModule.h"

namespace karvel {

namespace {

struct Module {
    CaptureReaderFunction read = nullptr;
    std::string problem;
};

// Beside the program (a build, or the window program's own folder), or in the folder the
// package keeps the window program in; KARVEL_CAPTURE_MODULE names another.
Module Load() {
    std::vector<std::string> candidates;
    if (const char* chosen = std::getenv("KARVEL_CAPTURE_MODULE"); chosen != nullptr && *chosen)
        candidates.emplace_back(chosen);
    const std::string folder = ProgramFolder();
    candidates.push_back(folder + "/karvel-capture.so");
    candidates.push_back(folder + "/../" KARVEL_WINDOW_SUBDIR "/karvel-capture.so");
    Module module;
    for (const std::string& path : candidates) {
        if (::access(path.c_str(), R_OK) != 0) continue;
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            module.problem = ::dlerror();
            continue;
        }
        module.read =
            reinterpret_cast<CaptureReaderFunction>(::dlsym(handle, kCaptureReaderSymbol));
        if (module.read != nullptr) return module;
        module.problem = path + ": no " + kCaptureReaderSymbol;
    }
    if (module.problem.empty())
        module.problem = "the capture reader karvel-capture.so is not installed";
    return module;
}

const Module& LoadedModule() {
    static const Module module = Load();
    return module;
}

NoCaptureWhy WhyOf(int why) {
    // The reader's NoCapture, in its order.
    static constexpr NoCaptureWhy kWhy[] = {
        NoCaptureWhy::NoMetadata,  NoCaptureWhy::NoDate,         NoCaptureWhy::BadDate,
        NoCaptureWhy::Unreadable,  NoCaptureWhy::NotRegularFile, NoCaptureWhy::UnknownFormat,
        NoCaptureWhy::LibraryError};
    if (why < 0 || why >= static_cast<int>(std::size(kWhy))) return NoCaptureWhy::LibraryError;
    return kWhy[why];
}

}  // namespace

std::string ProgramFolder() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return {};
    const std::string program(buffer.data(), static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}

std::optional<std::string> CaptureReaderProblem() {
    const Module& module = LoadedModule();
    if (module.read != nullptr) return std::nullopt;
    return module.problem;
}

OwnDate ReadCaptureDate(int folderFd, const std::string& name) {
    const Module& module = LoadedModule();
    if (module.read == nullptr)
        return {{}, {}, DateOrigin::ModifiedInstead, NoCaptureWhy::Unreadable};
    KarvelCaptureDate read{};
    module.read(folderFd, name.c_str(), &read);
    if (read.found == 0) return {{}, {}, DateOrigin::ModifiedInstead, WhyOf(read.why)};
    timespec instant{};
    instant.tv_sec = static_cast<time_t>(read.seconds);
    instant.tv_nsec = read.nanos;
    return {{read.year, read.month, read.day}, instant, DateOrigin::Taken, NoCaptureWhy::None};
}

}  // namespace karvel

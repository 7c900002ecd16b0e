#include "cli/BatchRun.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <istream>
#include <ostream>
#include <thread>
#include <unordered_map>

#include "cli/CaptureDates.h"
#include "cli/ConsoleHost.h"
#include "files/UniqueFd.h"
#include "naming/NewNames.h"
#include "rename/RenameRun.h"
#include "rename/RunMessages.h"
#include "settings/PersistedSettings.h"
#include "targets/AbsolutePaths.h"
#include "targets/ConflictPreview.h"
#include "targets/DateReading.h"
#include "targets/DropIntake.h"
#include "targets/ListEditing.h"
#include "targets/ListRefresh.h"
#include "targets/RowDates.h"
#include "targets/StartCheck.h"
#include "targets/TargetList.h"
#include "texts/CommandTexts.h"
#include "texts/FillText.h"

namespace karvel {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int ToInt(std::string_view digits) {
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

}  // namespace

std::optional<CalendarDate> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = text.substr(0, 4), month = text.substr(5, 2), day = text.substr(8, 2);
    if (!AllDigits(year) || !AllDigits(month) || !AllDigits(day)) return std::nullopt;
    const CalendarDate date{ToInt(year), ToInt(month), ToInt(day)};
    if (date.year < 1601 || date.month < 1 || date.month > 12) return std::nullopt;
    if (date.day < 1 || date.day > DaysInMonth(date.year, date.month)) return std::nullopt;
    return date;
}

std::optional<BatchSort> ParseBatchSort(std::string_view text) {
    if (text == "name") return BatchSort::Name;
    if (text == "time") return BatchSort::Time;
    if (text == "none") return BatchSort::None;
    return std::nullopt;
}

std::optional<std::string> CheckBatchRequest(const BatchRequest& request) {
    if (request.pattern && !DatePatternFromText(*request.pattern)) {
        return FillText(kUnknownPattern, {*request.pattern});
    }
    if (request.digits &&
        (request.digits->size() != 1 || (*request.digits)[0] < '1' || (*request.digits)[0] > '5')) {
        return FillText(kBadDigits, {*request.digits});
    }
    // As in the window, the start number has digits only.
    if (request.start && (!AllDigits(*request.start) || !ParseStartNumber(*request.start))) {
        return FillText(kBadStart, {*request.start});
    }
    if (request.files.empty()) return std::string(kNoFiles);
    return std::nullopt;
}

PathList SplitPathList(std::string_view bytes, bool nullSeparated,
                       const std::optional<std::string>& currentFolder) {
    const char separator = nullSeparated ? '\0' : '\n';
    PathList list;
    while (!bytes.empty()) {
        const auto end = bytes.find(separator);
        const std::string_view entry = bytes.substr(0, end);
        if (entry.size() >= PATH_MAX) {
            list.problem = FillText(kListLineTooLong, {std::to_string(PATH_MAX - 1)});
            return list;
        }
        if (!entry.empty()) {
            auto path = AbsolutePath(std::string(entry), currentFolder);
            if (!path) {
                list.problem = FillText(kRelativePath, {ShownName(entry)});
                return list;
            }
            list.paths.push_back(std::move(*path));
        }
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return list;
}

PathList ReadPathList(const std::string& source, bool nullSeparated,
                      const std::optional<std::string>& currentFolder) {
    const auto refused = [&source](std::string_view why) {
        return PathList{{}, FillText(kListUnreadable, {ShownName(source), why})};
    };
    UniqueFd opened;
    int fd = STDIN_FILENO;
    if (source != "-") {
        struct stat info {};
        if (::stat(source.c_str(), &info) != 0) return refused(std::strerror(errno));
        if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))
            return refused("not a regular file or a pipe");
        opened.Reset(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
        if (!opened.Valid()) return refused(std::strerror(errno));
        if (::fstat(opened.Get(), &info) != 0 ||
            (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))) {
            return refused("not a regular file or a pipe");
        }
        fd = opened.Get();
    }
    const char separator = nullSeparated ? '\0' : '\n';
    std::string bytes;
    std::size_t lineStart = 0;
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return refused(std::strerror(errno));
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        // An endless entry (a stream of zeros) is refused as soon as it is too long.
        const auto last = bytes.rfind(separator);
        if (last != std::string::npos && last >= lineStart) lineStart = last + 1;
        if (bytes.size() - lineStart >= PATH_MAX) break;
    }
    return SplitPathList(bytes, nullSeparated, currentFolder);
}

namespace {

// The rows in the order their files were given; the list is no longer sorted.
void OrderAsGiven(TargetList& list, const std::vector<std::string>& given) {
    std::unordered_map<std::string_view, std::size_t> order;
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string_view path = given[i];
        order.emplace(path.substr(path.rfind('/') + 1), i);
    }
    std::vector<TargetRow> rows = list.Rows();
    std::ranges::stable_sort(rows, {}, [&order](const TargetRow& row) {
        const auto at = order.find(row.BeforeName);
        return at == order.end() ? std::size_t{0} : at->second;
    });
    list.SetSorted(false);
    list.AssignRows(std::move(rows));
}

std::string LeftOutText(const LeftOut& left) {
    switch (left.reason) {
        case LeftOutReason::NotAbsolute:
        case LeftOutReason::Unusable:
            return FillText(kLeftOutUnusable, {ShownName(left.path)});
        case LeftOutReason::Missing:
            return FillText(kLeftOutMissing, {ShownName(left.path)});
        case LeftOutReason::Folder:
            return FillText(kLeftOutFolder, {ShownName(left.path)});
        case LeftOutReason::OtherFolder:
            return FillText(kLeftOutOtherFolder, {ShownName(left.path)});
    }
    return {};
}

// The moves in the order the run makes them; a ring goes through a temporary name.
void PrintMoves(const TargetList& list, std::ostream& err) {
    if (list.NameMissing()) return;
    const auto& rows = list.Rows();
    for (const PlanStep& step : PreviewPlan(list).steps) {
        const TargetRow& row = rows[step.row];
        const std::string from = step.kind == StepKind::FromTemp ? std::string(kTemporaryName)
                                                                 : ShownName(row.BeforeName);
        const std::string to =
            step.kind == StepKind::ToTemp ? std::string(kTemporaryName) : ShownName(row.AfterName);
        err << (step.kind == StepKind::Keep ? FillText(kMoveKeep, {from})
                                            : FillText(kMoveMove, {from, to}));
        err << '\n';
    }
}

std::string_view WayText(RenameWay way) {
    switch (way) {
        case RenameWay::NoReplace:
            return kWayNoReplace;
        case RenameWay::LinkAndUnlink:
            return kWayLinkAndUnlink;
        case RenameWay::Placeholder:
            return kWayPlaceholder;
        case RenameWay::NotYetKnown:
            break;
    }
    return kWayNothingRenamed;
}

// Every file's capture time, on both cores, before any name is made.
void ReadCaptureDates(TargetList& list) {
    std::vector<std::string> names;
    std::vector<FileId> ids;
    for (const TargetRow& row : list.Rows()) {
        names.push_back(row.BeforeName);
        ids.push_back(row.Identity);
    }
    if (names.empty()) return;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    DateReading reading(list.TargetFolder(), std::move(names), &ReadCaptureDate, threads);
    reading.Wait();
    std::vector<std::pair<FileId, OwnDate>> dates;
    for (auto& [index, date] : reading.Take()) dates.emplace_back(ids[index], date);
    TakeCaptureDates(list, dates);
}

// A dry run's fourth field: where the row's date came from.
std::string OriginWord(const TargetRow& row, DateSource source) {
    const auto own = OwnDateOf(row, source);
    if (!own) return "unknown";
    switch (own->origin) {
        case DateOrigin::Taken:
            return "taken";
        case DateOrigin::Modified:
            return "modified";
        case DateOrigin::ModifiedInstead:
            break;
    }
    return "modified (no capture time)";
}

}  // namespace

int RunBatch(const BatchRequest& request, const std::string& iniPath, const CalendarDate& today,
             BatchStreams streams, RunFileSystem& fileSystem, RunRecords* records) {
    // An option the settings leave out is as the control starts: empty, or off.
    const StoredOptions stored = LoadSettings(iniPath).options;
    const DateSource source = request.dateFrom.value_or(
        DateSourceFromIndex(stored.dateFrom.value_or(0)).value_or(DateSource::Calendar));
    const NamingOptions options{request.date.value_or(today),
                                request.pattern.value_or(stored.typeText.value_or("")),
                                request.digits.value_or(stored.colText.value_or("")),
                                request.start.value_or(stored.startNoText.value_or("")), source};
    const RunSettings settings{options.date,
                               request.midnight.value_or(stored.timeUpd.value_or(0) == 1), source};
    if (source == DateSource::Taken) {
        if (const auto problem = CaptureReaderProblem()) {
            streams.err << "karvel: cannot read capture times: " << *problem << '\n';
            return kExitNotRenamed;
        }
    }

    TargetList list;
    // A run shows no list: one listing of the folder tells its files, and the run checks every
    // row. A dry run shows the list, and an order by time needs each file's modified time.
    const bool shown =
        request.dryRun || request.sort == BatchSort::Time || source != DateSource::Calendar;
    const std::vector<LeftOut> leftOut = TakeInDrop(
        list, request.files, options, shown ? IntakeLook::EachFile : IntakeLook::OneListing);
    if (source == DateSource::Taken) {
        ReadCaptureDates(list);
        RefreshList(list, ListChanges::Names(options));
    }
    if (request.sort == BatchSort::Time) {
        SortBy(list, SortColumn::Modified);
        RefreshList(list, ListChanges::Names(options));
    } else if (request.sort == BatchSort::None) {
        OrderAsGiven(list, request.files);
        RefreshList(list, ListChanges::Names(options));
    }
    // A file named but left out is never "every file renamed".
    for (const LeftOut& left : leftOut) streams.err << LeftOutText(left) << '\n';
    const int allDone = leftOut.empty() ? kExitRenamed : kExitNotRenamed;

    ConsoleHost host(streams.in, streams.err, request.assumeYes);
    if (!request.dryRun) {
        const RunReport report = StartRun(list, settings, host, fileSystem, records);
        if (report.result == RunResult::Interrupted && !report.changed) {
            streams.err << kStoppedBeforeAnyChange << '\n';
        } else if (report.result == RunResult::Interrupted) {
            streams.err << FillText(
                               kStoppedAfter,
                               {std::to_string(report.renamed), std::to_string(list.RowCount()),
                                ShownName(list.Rows()[report.renamed].BeforeName)})
                        << '\n';
        }
        if (request.verbose)
            streams.err << FillText(kRenamedBy, {WayText(fileSystem.Way())}) << '\n';
        streams.err.flush();
        return report.result == RunResult::Completed ? allDone : kExitNotRenamed;
    }
    const StartCheck check = CheckStart(list);
    if (check.verdict == StartVerdict::NoTargets) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNoTargets));
        return kExitNotRenamed;
    }
    for (const TargetRow& row : list.Rows()) {
        streams.out << ShownName(row.BeforeName) << '\t' << ShownName(row.AfterName) << '\t'
                    << row.Modified;
        if (source != DateSource::Calendar) streams.out << '\t' << OriginWord(row, source);
        streams.out << '\n';
    }
    streams.out.flush();
    if (request.verbose) PrintMoves(list, streams.err);
    // Where the run would stop, the dry run says so as the run would.
    if (check.verdict == StartVerdict::NamesUnusable) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNamesUnusable));
        return kExitNotRenamed;
    }
    if (check.verdict == StartVerdict::StopsAtRow) {
        host.ShowMessage(RunIcon::Error, StopText(check.reason, list.Rows()[check.row]));
        return kExitNotRenamed;
    }
    return allDone;
}

}  // namespace karvel

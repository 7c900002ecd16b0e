#include "rename/BatchRun.h"

#include <charconv>
#include <istream>
#include <ostream>

#include "naming/NewNames.h"
#include "rename/ConsoleHost.h"
#include "rename/RenameRun.h"
#include "rename/RunMessages.h"
#include "settings/StoredOptions.h"
#include "targets/DropIntake.h"
#include "targets/TargetList.h"

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

std::optional<std::string> CheckBatchRequest(const BatchRequest& request) {
    if (request.pattern && !DatePatternFromText(*request.pattern)) {
        return "unknown pattern \"" + *request.pattern +
               "\" (use yyyymmdd, yymmdd, mmdd, yyyymm or yymm)";
    }
    if (request.digits && (request.digits->size() != 1 || (*request.digits)[0] < '1' ||
                           (*request.digits)[0] > '5')) {
        return "digits must be 1 to 5, not \"" + *request.digits + "\"";
    }
    // As in the window, the start number has digits only.
    if (request.start && (!AllDigits(*request.start) || !ParseStartNumber(*request.start))) {
        return "start must be a number from 0 to 2147483647, not \"" + *request.start + "\"";
    }
    if (request.files.empty()) return "no files given";
    return std::nullopt;
}

std::vector<std::string> SplitPathList(std::string_view bytes, bool nullSeparated,
                                       const std::string& currentFolder) {
    const char separator = nullSeparated ? '\0' : '\n';
    std::vector<std::string> paths;
    while (!bytes.empty()) {
        const auto end = bytes.find(separator);
        const std::string_view entry = bytes.substr(0, end);
        if (!entry.empty()) {
            paths.push_back(entry.front() == '/' ? std::string(entry)
                                                 : currentFolder + "/" + std::string(entry));
        }
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return paths;
}

int RunBatch(const BatchRequest& request, const std::string& iniPath, const CalendarDate& today,
             BatchStreams streams, RunFileSystem& fileSystem, RunJournal* journal) {
    const StoredOptions stored = ReadStoredOptions(iniPath);
    const NamingOptions options{request.date.value_or(today), request.pattern.value_or(stored.typeText),
                                request.digits.value_or(stored.colText),
                                request.start.value_or(stored.startNoText)};
    const RunSettings settings{options.date, request.midnight.value_or(stored.timeUpd == 1)};

    TargetList list;
    TakeInDrop(list, request.files, options);

    ConsoleHost host(streams.in, streams.err, request.assumeYes);
    if (!request.dryRun) {
        return BtnStart_Click(list, settings, host, fileSystem, journal).result == RunResult::Completed
                   ? kExitRenamed
                   : kExitNotRenamed;
    }
    if (list.RowCount() == 0) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNoTargets));
        return kExitNotRenamed;
    }
    if (list.Rows().front().AfterName.empty()) {
        host.ShowMessage(RunIcon::Warning, std::string(kMsgNamesUnusable));
        return kExitNotRenamed;
    }
    for (const TargetRow& row : list.Rows()) {
        streams.out << row.BeforeName << '\t' << row.AfterName << '\t' << row.Modified << '\n';
    }
    streams.out.flush();
    return kExitRenamed;
}

}  // namespace karvel

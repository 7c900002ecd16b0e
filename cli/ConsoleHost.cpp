#include "cli/ConsoleHost.h"

#include <signal.h>
#include <unistd.h>

#include <string>

#include "texts/CommandTexts.h"

namespace karvel {

namespace {

volatile sig_atomic_t stopSignalled = 0;
volatile sig_atomic_t changesMayBegin = 0;

void OnStopSignal(int) {
    if (changesMayBegin == 0) {
        // Nothing has changed: end now, while the list is read or a question waits.
        const std::string_view line = kStoppedBeforeAnyChange;
        (void)!::write(STDERR_FILENO, "\n", 1);
        (void)!::write(STDERR_FILENO, line.data(), line.size());
        (void)!::write(STDERR_FILENO, "\n", 1);
        ::_exit(1);
    }
    stopSignalled = 1;
}

RunAnswer Answered(RunAnswer answer) {
    if (answer == RunAnswer::Yes) changesMayBegin = 1;
    return answer;
}

bool IsYes(std::string answer) {
    while (!answer.empty() && (answer.back() == '\r' || answer.back() == ' ')) answer.pop_back();
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            shown += text[i];
            continue;
        }
        shown += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return shown;
}

RunAnswer ConsoleHost::ShowMessage(RunIcon icon, const std::string& text) {
    // A warning that asks is never answered for the user: a script says what it wants
    // with an option instead.
    if (icon == RunIcon::WarningQuestion) {
        err_ << TerminalText(text) << kAskYesNo << kAnswerNo << '\n' << std::flush;
        return RunAnswer::No;
    }
    if (icon != RunIcon::Question) {
        err_ << TerminalText(text) << '\n' << std::flush;
        return RunAnswer::Ok;
    }
    err_ << TerminalText(text) << kAskYesNo;
    if (assumeYes_) {
        err_ << kAnswerYes << '\n' << std::flush;
        return Answered(RunAnswer::Yes);
    }
    err_ << std::flush;
    std::string answer;
    // No answer, or an input that is closed, is a No.
    const bool read = static_cast<bool>(std::getline(in_, answer));
    if (!read) err_ << '\n';
    return Answered(read && IsYes(answer) ? RunAnswer::Yes : RunAnswer::No);
}

bool ConsoleHost::StopRequested() {
    return stopSignalled != 0;
}

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace karvel

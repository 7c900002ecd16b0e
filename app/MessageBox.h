#pragma once
// Every modal message of the program goes through here, so tests can answer it.

#include <QString>

#include <functional>
#include <optional>
#include <string_view>

#include "rename/RunHost.h"

class QWidget;

namespace karvel {

// The run's own icons and answers: its messages pass through unchanged.
using MessageIcon = RunIcon;
using MessageAnswer = RunAnswer;

class MessageBox {
  public:
    // Shows `text` (UTF-8, CR or CR LF meaning a line break) with the program's
    // caption. A question offers Yes and No, Yes the default; the rest offer OK.
    static MessageAnswer Show(QWidget* parent, MessageIcon icon, std::string_view text);

    // Tests: the next message not yet answered is not shown but answered with `answer`;
    // several calls answer that many messages in turn.
    static void SetNextAnswer(MessageAnswer answer);

    struct Shown {
        MessageIcon icon;
        QString text;  // exactly as given, line breaks unchanged
    };
    // Tests: the last message asked for, and how many were asked for.
    static std::optional<Shown> Last();
    static int Count();
    static void ResetRecord();
    // Tests: called with each message as it is asked for, before it is answered.
    static void WhenShown(std::function<void(const Shown&)> look);

    // The text as it is displayed: every CR LF or lone CR becomes a line break.
    static QString DisplayText(std::string_view text);
};

}  // namespace karvel

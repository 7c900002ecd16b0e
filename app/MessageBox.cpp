#include "app/MessageBox.h"

#include <QMessageBox>

#include <deque>

#include "app/QtText.h"
#include "texts/WindowTexts.h"

namespace karvel {

namespace {

std::deque<MessageAnswer> nextAnswers;
std::optional<MessageBox::Shown> lastShown;
int shownCount = 0;
std::function<void(const MessageBox::Shown&)> onShown;

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
        case MessageIcon::WarningQuestion:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

}  // namespace

QString MessageBox::DisplayText(std::string_view text) {
    QString display = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    display.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return display;
}

MessageAnswer MessageBox::Show(QWidget* parent, MessageIcon icon, std::string_view text) {
    lastShown = Shown{icon, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))};
    ++shownCount;
    if (onShown) onShown(*lastShown);
    if (!nextAnswers.empty()) {
        const MessageAnswer answer = nextAnswers.front();
        nextAnswers.pop_front();
        return answer;
    }
    const bool question = icon == MessageIcon::Question || icon == MessageIcon::WarningQuestion;
    QMessageBox box(ToQtIcon(icon), QtText(kMessageTitle), DisplayText(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // A warning that asks defaults to No: Enter must not start what the user was warned of.
    box.setDefaultButton(icon == MessageIcon::Question          ? QMessageBox::Yes
                         : icon == MessageIcon::WarningQuestion ? QMessageBox::No
                                                                : QMessageBox::Ok);
    const int pressed = box.exec();
    if (!question) return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void MessageBox::SetNextAnswer(MessageAnswer answer) {
    nextAnswers.push_back(answer);
}
std::optional<MessageBox::Shown> MessageBox::Last() {
    return lastShown;
}
int MessageBox::Count() {
    return shownCount;
}

void MessageBox::ResetRecord() {
    nextAnswers.clear();
    lastShown.reset();
    shownCount = 0;
    onShown = nullptr;
}

void MessageBox::WhenShown(std::function<void(const Shown&)> look) {
    onShown = std::move(look);
}

}  // namespace karvel

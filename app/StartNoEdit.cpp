#include "app/StartNoEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "app/Beep.h"

namespace karvel {

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool AllDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

// Control plus a letter (copy, cut, paste, undo, select all, ...) reaches a
// classic text box as a control character.
bool IsControlLetter(const QKeyEvent* event) {
    const auto mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return mods == Qt::ControlModifier && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z;
}

}  // namespace

StartNoEdit::StartNoEdit(QWidget* parent) : QLineEdit(parent) {}

void StartNoEdit::keyPressEvent(QKeyEvent* event) {
    if (IsControlLetter(event)) {
        Beep::Sound();
        event->accept();
        return;
    }
    const QString text = event->text();
    // Keys that produce no character (delete, arrows, home, end) are not filtered.
    const bool producesCharacter = !text.isEmpty() && event->key() != Qt::Key_Delete;
    if (producesCharacter && event->key() != Qt::Key_Backspace && !AllDigits(text)) {
        Beep::Sound();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void StartNoEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!AllDigits(event->commitString())) {
        Beep::Sound();
        QInputMethodEvent dropped;
        QLineEdit::inputMethodEvent(&dropped);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

}  // namespace karvel

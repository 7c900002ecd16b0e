#include "app/OpenFilesDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include <deque>

#include "texts/NewcomerTexts.h"

namespace karvel {

namespace {

std::deque<std::vector<std::string>> nextAnswers;
int askedCount = 0;
std::string lastFolder;

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::vector<std::string> OpenFilesDialog::Ask(QWidget* parent, const std::string& folder) {
    ++askedCount;
    lastFolder = folder;
    if (!nextAnswers.empty()) {
        std::vector<std::string> answer = std::move(nextAnswers.front());
        nextAnswers.pop_front();
        return answer;
    }
    const QStringList picked = QFileDialog::getOpenFileNames(
        parent, Utf8(newcomer::kOpenDialogTitle),
        folder.empty() ? QDir::homePath() : QFile::decodeName(QByteArray::fromStdString(folder)));
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(picked.size()));
    // The names' own bytes, as a drop's URIs give them.
    for (const QString& path : picked) paths.push_back(QFile::encodeName(path).toStdString());
    return paths;
}

void OpenFilesDialog::SetNextAnswer(std::vector<std::string> paths) {
    nextAnswers.push_back(std::move(paths));
}
int OpenFilesDialog::Count() {
    return askedCount;
}
std::string OpenFilesDialog::LastFolder() {
    return lastFolder;
}
void OpenFilesDialog::ResetRecord() {
    nextAnswers.clear();
    askedCount = 0;
    lastFolder.clear();
}

}  // namespace karvel

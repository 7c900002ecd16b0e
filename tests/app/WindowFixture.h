#pragma once
// A window over a fresh settings folder, and helpers to find its controls.

#include <QMimeData>
#include <QtTest>

#include <memory>
#include <string>

#include "app/KarvelFm.h"
#include "settings/clsIniFile.h"
#include "support/TempDir.h"

namespace karvel::testing {

class WindowFixture {
  public:
    const std::string& IniPath() const { return ini_; }

    void WriteIni(const std::string& text) const { std::ofstream(ini_, std::ios::binary) << text; }

    std::string ReadIni(const char* section, const char* key) const {
        clsIniFile ini;
        ini.pFileName(ini_);
        return ini.mGetString(section, key, "<missing>");
    }

    bool IniExists() const { return std::filesystem::exists(ini_); }

    // Runs keep their journal in the test's folder, never in the user's.
    std::unique_ptr<KarvelFm> Open() const {
        auto window = std::make_unique<KarvelFm>(ini_);
        window->SetStateFolder(StateFolder());
        return window;
    }
    std::string StateFolder() const { return dir_.path() + "state"; }

    const TempDir& Dir() const { return dir_; }

  private:
    TempDir dir_;
    std::string ini_ = dir_.path() + "Karvel.ini";
};

// A text/uri-list naming `paths`, every byte outside the unreserved set escaped.
inline QByteArray UriList(const std::vector<std::string>& paths) {
    QByteArray list;
    for (const std::string& path : paths) {
        list += "file://";
        list += QByteArray::fromStdString(path).toPercentEncoding("/");
        list += "\r\n";
    }
    return list;
}

// Drops `data` on the list's viewport as a file manager would.
inline void SendDrop(QWidget* viewport, const QMimeData& data) {
    const QPointF at(10, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}

inline void DropFiles(QWidget* viewport, const std::vector<std::string>& paths) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), UriList(paths));
    SendDrop(viewport, data);
}

template <class T>
T* Child(QObject& window, const char* name) {
    auto* child = window.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no control named %s", name);
    return child;
}

}  // namespace karvel::testing

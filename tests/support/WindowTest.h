#pragma once
// A window over a fresh settings folder, a base for test classes that start every test
// with one open, and helpers to find its controls and drop files on it.

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QTreeView>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/KarvelFm.h"
#include "app/MessageBox.h"
#include "settings/clsIniFile.h"
#include "support/TempDir.h"

namespace karvel::testing {

template <class T>
T* Child(QObject& window, const char* name) {
    auto* child = window.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no control named %s", name);
    return child;
}

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

    // Runs keep their journal in the test's folder, never in the user's. Qt's model
    // tester watches the list's model for as long as the model lives.
    std::unique_ptr<KarvelFm> Open() const {
        auto window = std::make_unique<KarvelFm>(ini_);
        window->SetStateFolder(StateFolder());
        QAbstractItemModel* model = Child<QTreeView>(*window, "ListVi")->model();
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     model);
        return window;
    }
    std::string StateFolder() const { return dir_.path() + "state"; }

    const TempDir& Dir() const { return dir_; }

  private:
    TempDir dir_;
    std::string ini_ = dir_.path() + "Karvel.ini";
};

// Every test of a class built on this starts with a fresh folder, the window open on
// it, shown and exposed, and no message on record or answer waiting. A class that sets
// more up defines its own init() and calls this one first.
class WindowTest : public QObject {
    Q_OBJECT
  protected slots:
    void init() {
        MessageBox::ResetRecord();
        fixture_ = std::make_unique<WindowFixture>();
        Reopen();
    }
    void cleanup() {
        window_.reset();
        fixture_.reset();
        MessageBox::ResetRecord();
    }

  protected:
    // A new window over the same folder, as after a restart.
    void Reopen() {
        window_.reset();
        window_ = fixture_->Open();
        list_ = Child<QTreeView>(*window_, "ListVi");
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    std::unique_ptr<WindowFixture> fixture_;
    std::unique_ptr<KarvelFm> window_;
    QTreeView* list_ = nullptr;
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

}  // namespace karvel::testing

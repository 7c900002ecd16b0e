// The karvel command starts the window program with Qt's own options handed to Qt.
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include "support/TempDir.h"

using karvel::testing::TempDir;

class WindowProgramTest : public QObject {
    Q_OBJECT
  private:
    // Starts karvel with `arguments`; the window keeps running, so it is ended after a while.
    // Returns what it printed on its error stream, or "exited N" when it ended by itself.
    static QString StderrOfRunningWindow(const QStringList& arguments) {
        const TempDir dir;
        QProcess karvel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("KARVEL_INI"),
                           QString::fromStdString(dir.path()) + QStringLiteral("Karvel.ini"));
        environment.insert(QStringLiteral("XDG_STATE_HOME"),
                           QString::fromStdString(dir.path()) + QStringLiteral("state"));
        karvel.setProcessEnvironment(environment);
        karvel.setWorkingDirectory(QString::fromStdString(dir.path()));
        karvel.start(QStringLiteral(KARVEL_PROGRAM), arguments);
        if (!karvel.waitForStarted()) return QStringLiteral("not started");
        if (karvel.waitForFinished(2000)) {
            return QStringLiteral("exited %1: ").arg(karvel.exitCode()) +
                   QString::fromUtf8(karvel.readAllStandardError());
        }
        karvel.kill();
        karvel.waitForFinished();
        return QString::fromUtf8(karvel.readAllStandardError());
    }

  private slots:
    // An unknown style makes Qt say so: the option reached Qt, and the window came up with
    // the file argument after it; no display is needed with -platform given.
    void qtOptionsReachTheWindow() {
        const QString err = StderrOfRunningWindow(
            {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style"),
             QStringLiteral("no-such-style"), QStringLiteral("-reverse"), QStringLiteral("a.jpg")});
        QVERIFY2(!err.startsWith(QStringLiteral("exited")), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("no-such-style")), qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("unknown option")), qPrintable(err));
    }

    void aKnownStyleRunsQuietly() {
        const QString err =
            StderrOfRunningWindow({QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                   QStringLiteral("-style=fusion")});
        QVERIFY2(!err.startsWith(QStringLiteral("exited")), qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("style")), qPrintable(err));
    }
};

QTEST_MAIN(WindowProgramTest)
#include "tst_window_program.moc"

// A private X desktop for tests of the built program: an Xvfb display with a window manager,
// the program started on it with its own configuration folder, and xdotool to drive it as
// an operator would.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class Desktop {
public:
    Desktop();
    ~Desktop();
    bool Ready() const { return ready_; }
    QString Why() const { return why_; }
    bool ToolMissing() const { return toolMissing_; }

    // The folders the program keeps its settings store and its register in.
    QString ConfigHome() const { return config_.path(); }
    QString DataHome() const { return config_.path() + QStringLiteral("/data"); }
    // Starts the built program; false when its main window does not show.
    bool StartProgram();
    void StopProgram();
    // Whether the program ended by itself within the time, with its exit code.
    bool ProgramEnded(int milliseconds, int *exitCode = nullptr);

    // The first window whose title is exactly `title`, waiting up to the time; 0 when none.
    qulonglong WaitForWindow(const QString &title, int milliseconds = 10000);
    bool WindowShown(const QString &title) { return WaitForWindow(title, 0) != 0; }
    // Runs xdotool with the arguments; its standard output.
    QString Xdotool(const QStringList &arguments);
    // Clicks at a point of a window's client area.
    void Click(qulonglong window, int x, int y);
    // Asks the window manager to close a window.
    void Close(qulonglong window);
    // Gives a window the focus and presses keys there, one after another (xdotool key names
    // separated by spaces).
    void Keys(qulonglong window, const QString &keys);
    // Gives a window the focus and types the text there, Polish letters as a Polish keyboard
    // enters them.
    void Type(qulonglong window, const QString &text);
    // The window's place on the screen and its size.
    QRect Geometry(qulonglong window);
    // The whole screen as it shows now; a null image when it cannot be taken.
    QImage Screenshot();

    // A D-Bus session of this desktop's own, with the program's accessibility on: what a
    // screen reader sees of it can then be read. Call before starting the program.
    bool StartAccessibility();
    // Runs a tool on this desktop; its standard output.
    QString Run(const QString &program, const QStringList &arguments) const;

private:
    QProcessEnvironment Environment() const;

    bool ready_ = false;
    bool toolMissing_ = false;
    QString why_;
    QString display_;
    QTemporaryDir config_;
    QProcess server_;
    QProcess windowManager_;
    QProcess program_;
    QProcess bus_;
    QString busAddress_;
};

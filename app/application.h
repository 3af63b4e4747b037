#pragma once
// Start-up of the editor: the display check, the Japanese translation of Qt's own texts, the main
// window with the real host services, and a quick end.

#include <QStringList>

class QCoreApplication;

namespace orvane {

// Whether Qt can be expected to reach a display. Only meaningful on X11/Wayland systems; a
// platform chosen by QT_QPA_PLATFORM or -platform is trusted as it is.
bool displayReachable(const QByteArray &qpaPlatform, const QByteArray &display,
                      const QByteArray &waylandDisplay, int argc, const char *const *argv);

// Loads Qt's Japanese translation and makes Japanese the locale of Qt's dialogs.
void useJapanese(QCoreApplication &application);

// The arguments left once Qt has taken its own (-platform, -style ...), without the program name.
QStringList extraArguments(const QCoreApplication &application);

// What start-up does with the arguments left to it: the first names the file to open (a path,
// made absolute, or a file: URL), the others are named on stderr and left alone.
struct StartArguments {
    QString file;
    QStringList ignored;
};
StartArguments startArguments(const QStringList &arguments);

int runApplication(int argc, char **argv);

} // namespace orvane

// A process id read from a window, ended by a program of the system's.
#include <QProcess>
#include <QStringList>

void quitProcess(int pid) {
    QProcess kill;
    kill.start("/bin/kill", {"-TERM", QString::number(pid)});
    kill.waitForFinished();
}

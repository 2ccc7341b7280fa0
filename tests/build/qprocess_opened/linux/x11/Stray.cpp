// A program started by opening the QProcess that runs it.
#include <QProcess>

void runAside() {
    QProcess shell;
    shell.setProgram("/bin/sh");
    shell.open();
    shell.waitForFinished();
}

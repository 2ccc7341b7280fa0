// A child of Qt's, ended outside the files that own processes.
#include <QProcess>

void quitChild(QProcess& child) {
    child.terminate();
}

// A process id read from a window, signalled without being identified.
void quitProcess(int pid) {
    ::kill(pid, 15);
}

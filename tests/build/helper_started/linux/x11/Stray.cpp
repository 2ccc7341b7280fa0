// A helper of the program's own started by another than its owner, which could then not end it.
namespace quillbern {
struct LinuxProcesses {
    static int startHanding(const char* program, int handed);
};
}  // namespace quillbern

int startReader(int socket) {
    return quillbern::LinuxProcesses::startHanding("quillbern-picture-reader", socket);
}

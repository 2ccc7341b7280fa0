// Our code on a thread that Qt starts.
#include <QThread>

class Reader : public QThread {
    void run() override {}
};

void readAside(Reader& reader) {
    reader.start();
}

// A deliberate race between a QThread and the main thread, both sides in our own code, started the
// way background prints start. The ThreadSanitizer pass must report it: it proves that the pass's
// options and suppressions leave such races visible.

#include <QCoreApplication>
#include <QThread>

namespace {

int shared = 0;

class Writer : public QThread
{
protected:
    void run() override
    {
        for (int i = 0; i < 100000; ++i)
            shared = i;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Writer writer;
    writer.start();
    long sum = 0;
    for (int i = 0; i < 100000; ++i)
        sum += shared;
    writer.wait();
    return sum == -1 ? 1 : 0;
}

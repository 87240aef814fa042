// Runs the fuzz target over every file of the seed corpus, so that the
// ordinary build and the sanitizer build check the seeds too.
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 1;
    }
    for (const QString& name : names) {
        QFile seed(corpus.filePath(name));
        if (!seed.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = seed.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               static_cast<size_t>(bytes.size()));
        std::printf("%s: ok\n", qPrintable(name));
    }
    return 0;
}

#include <QGuiApplication>
#include <cstdio>

#include "sample/generator.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_sample PROGRAM_FOLDER\n");
        return 2;
    }
    QString err;
    if (!sample::generateModule(QString::fromLocal8Bit(argv[1]), &err)) {
        std::fprintf(stderr, "make_sample: %s\n", qPrintable(err));
        return 1;
    }
    return 0;
}

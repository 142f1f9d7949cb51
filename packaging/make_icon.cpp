// orbisk-icon FILE SIZE: writes the application icon as a SIZE x SIZE PNG, so
// that the desktop's menu shows the same artwork as the program's windows.

#include "orbisk_resources.h"

#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    int size = argc == 3 ? std::atoi(argv[2]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: orbisk-icon FILE SIZE (16..1024)\n");
        return 2;
    }
    QImage image = PaintOrbiskIcon(size);
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "orbisk-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

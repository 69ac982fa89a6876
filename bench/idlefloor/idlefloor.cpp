// The smallest programs of the two kinds Skyrel is, for bench/idle-cost.sh to measure beside it: what
// waking once a second costs on this machine before any work is done.
//   skyrel_idle_floor timer   an event loop with a one-second timer that does nothing (the headless kind)
//   skyrel_idle_floor clock   a window with one label showing the time, set once a second (the desktop kind)
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    const bool clock = argc == 2 && std::strcmp(argv[1], "clock") == 0;
    if (!clock && !(argc == 2 && std::strcmp(argv[1], "timer") == 0)) {
        std::fprintf(stderr, "usage: %s timer|clock\n", argv[0]);
        return 2;
    }
    int qtArgc = 1;
    const std::unique_ptr<QCoreApplication> app =
        clock ? std::make_unique<QApplication>(qtArgc, argv) : std::make_unique<QCoreApplication>(qtArgc, argv);
    std::unique_ptr<QLabel> label;
    if (clock) {
        label = std::make_unique<QLabel>();
        label->resize(160, 24);
        label->show();
    }
    QTimer second;
    second.setInterval(1000);
    QObject::connect(&second, &QTimer::timeout, [&label] {
        if (label) label->setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
    });
    second.start();
    return app->exec();
}

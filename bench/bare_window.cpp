// A bare Qt main window: what start-up costs a Qt Widgets program that does
// nothing else (libraries loaded, QApplication, the window system connected,
// one window mapped). The start-up benchmark starts it beside the program, at
// the size of the program's main window:
//   bare_window WIDTH HEIGHT TITLE
#include <QApplication>
#include <QMainWindow>
#include <QString>
#include <cstdlib>

int main(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 0;
    const int height = argc > 2 ? std::atoi(argv[2]) : 0;
    const QString title = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("bare_window");
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(title);
    if (width > 0 && height > 0) window.resize(width, height);
    window.show();
    return QApplication::exec();
}

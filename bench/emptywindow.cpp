// The reference for the window's start: an empty Qt window, shown as soon as the application is up.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("EmptyQtWindow"));
    window.resize(640, 400);
    window.show();
    return application.exec();
}

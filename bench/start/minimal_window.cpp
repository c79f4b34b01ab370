// The yardstick of a start: a bare Qt window of the main window's default
// size, shown, and the process ended once the window is on screen and painted.
#include <QApplication>
#include <QWidget>

#include "WaitShown.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    EndOnceShown(window);
}

// The yardstick for the program's start: the smallest Qt Widgets program
// that shows a window with a line of text, of the start window's size,
// shown and painted once. (A window without any text would not even start
// the font machinery, which every window with text pays for.)
// With --empty, the window holds nothing at all.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool empty = argc > 1 && QByteArray(argv[1]) == "--empty";
    QLabel window(empty ? QString() : QStringLiteral("Тест \"Велитарь\""));
    window.setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(305, 321);
    window.show();
    return QApplication::exec();
}

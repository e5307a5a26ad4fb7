// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start: the smallest Qt Widgets program
// that shows a window of the start window's size with a one-word label,
// shown and painted once. (A window without any text would not even start
// the font machinery, which every window with text pays for.)
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Велитарь"));
    window.setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(305, 321);
    window.setVisible(true);
    return QApplication::exec();
}

#include <QApplication>

#include "app/Forms.h"
#include "ui/Appearance.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velitar::ui::applyProgramStyle();

    velitar::Forms forms;
    forms.Form1().show();
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartFailure.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace velitar {

namespace {

// The one line that replaces Qt's report: which display could not be opened.
QByteArray noDisplayLine()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const QByteArray x11 = qgetenv("DISPLAY");
    QByteArray what;
    if (!platform.isEmpty()) {
        what = "графическая платформа не запускается (QT_QPA_PLATFORM=" + platform + ")";
    } else if (wayland.isEmpty() && x11.isEmpty()) {
        what = "нет графического дисплея (DISPLAY и WAYLAND_DISPLAY не заданы)";
    } else {
        QByteArrayList displays;
        if (!wayland.isEmpty())
            displays << "WAYLAND_DISPLAY=" + wayland;
        if (!x11.isEmpty())
            displays << "DISPLAY=" + x11;
        what = "не удалось открыть графический дисплей (" + displays.join(", ") + ")";
    }
    return "velitar: " + what + ", окно не может быть показано\n";
}

} // namespace

void reportStartFailure(const QString&)
{
    const QByteArray line = noDisplayLine();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
    std::_Exit(1); // no abort, no core dump, no destructors of a half-built application
}

} // namespace velitar

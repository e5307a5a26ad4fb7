// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlatformStart.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace velitar {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> held;

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

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        const QByteArray line = noDisplayLine();
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
        std::fflush(stderr);
        std::_Exit(1); // no abort, no core dump, no destructors of a half-built application
    }
    held.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

} // namespace

PlatformStartGuard::PlatformStartGuard() { previousHandler = qInstallMessageHandler(holdMessage); }

PlatformStartGuard::~PlatformStartGuard() { release(); }

void PlatformStartGuard::release()
{
    if (released_)
        return;
    released_ = true;
    qInstallMessageHandler(previousHandler);
    std::vector<HeldMessage> messages;
    messages.swap(held);
    for (const HeldMessage& m : messages) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.isEmpty() ? nullptr : m.category.constData());
        qt_message_output(m.type, context, m.text);
    }
}

} // namespace velitar

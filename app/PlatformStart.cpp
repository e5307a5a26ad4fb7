// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlatformStart.h"
#include "app/StartFailure.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
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

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        QString report;
        for (const HeldMessage& m : held)
            report += m.text + QLatin1Char('\n');
        reportStartFailure(report + text);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartFailure.h"

#include <cstdlib>
#include <windows.h>

namespace velitar {

void reportStartFailure(const QString& qtReport)
{
    const QString text = QStringLiteral("Велитарь не может открыть своё окно: графическая платформа не запускается.") +
                         (qtReport.isEmpty() ? QString() : QStringLiteral("\r\n\r\n") + qtReport.trimmed());
    MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text.utf16()), L"Велитарь", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    std::_Exit(1);
}

} // namespace velitar

// SPDX-License-Identifier: GPL-3.0-or-later
// Qt on Windows raises accessibility events once a client (a screen reader,
// anything using UI Automation) has asked one of the program's windows for
// its accessible object. askAsAccessibilityClient() asks as such a client
// does, so that the in-process accessibility checks see the events there as
// they do in the Linux test's desktop session, where the bus starts them.
#pragma once

#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>

inline void askAsAccessibilityClient()
{
    constexpr LPARAM uiaRootObjectId = -25;
    QWidget probe;
    probe.show();
    SendMessageW(reinterpret_cast<HWND>(probe.winId()), WM_GETOBJECT, 0, uiaRootObjectId);
}
#else
inline void askAsAccessibilityClient() {}
#endif

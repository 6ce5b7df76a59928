// Runs a window modal to its caller: the caller is disabled, a local event loop runs
// until the window reports that it has finished, and the caller is enabled again.
#pragma once

#include "ui/widgets.h"

#include <QEventLoop>
#include <QPointer>

namespace ladya::ui {

// `finished` is the window's signal that it has closed for good.
template <typename W, typename Signal> void runModal(W& window, QWidget* caller, Signal finished) {
    QPointer<QWidget> guard(caller);
    const bool callerWasEnabled = caller && caller->isEnabled();
    if (caller)
        caller->setEnabled(false);
    QEventLoop loop;
    QObject::connect(&window, finished, &loop, &QEventLoop::quit);
    window.show();
    window.centreOnScreen();
    loop.exec();
    if (guard && callerWasEnabled)
        guard->setEnabled(true);
}

} // namespace ladya::ui

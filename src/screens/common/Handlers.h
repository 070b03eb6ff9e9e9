#pragma once
// Every connection of a screen goes through onEvent, so that a failure raised by a
// handler is reported at the handler's edge (runHandler) and never unwinds through
// Qt's signal code.

#include "platform/Platform.h"

#include <QObject>
#include <functional>
#include <type_traits>
#include <utility>

// Connects sender's signal to handler, run in context's thread and lifetime. The
// handler may take the signal's arguments or none of them.
template <class Sender, class Signal, class Handler>
QMetaObject::Connection onEvent(Sender* sender, Signal signal, QObject* context, Handler handler) {
    return QObject::connect(sender, signal, context, [handler = std::move(handler)](auto&&... args) mutable {
        runHandler([&] {
            if constexpr (std::is_invocable_v<Handler&, decltype(args)...>)
                std::invoke(handler, std::forward<decltype(args)>(args)...);
            else
                std::invoke(handler);
        });
    });
}

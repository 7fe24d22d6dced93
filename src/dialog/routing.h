#pragma once

#include "dialog/dialog.h"

#include <span>

// One entry of a dialog's routing table: which event reaches which member.
template <class Dialog>
struct MessageRoute {
    enum class Message { SysCommand, Clicked, Timer };

    Message message;
    int controlId = 0;  // for Clicked
    void (Dialog::*onClicked)() = nullptr;
    void (Dialog::*onTimer)(int) = nullptr;
    void (Dialog::*onSysCommand)(unsigned) = nullptr;

    static constexpr MessageRoute Clicked(int id, void (Dialog::*handler)())
    {
        return {Message::Clicked, id, handler, nullptr, nullptr};
    }
    static constexpr MessageRoute Timer(void (Dialog::*handler)(int))
    {
        return {Message::Timer, 0, nullptr, handler, nullptr};
    }
    static constexpr MessageRoute SysCommand(void (Dialog::*handler)(unsigned))
    {
        return {Message::SysCommand, 0, nullptr, nullptr, handler};
    }
};

// Hands every entry of `routes` to `dialog`'s handlers, once.
template <class Dialog>
void WireRoutes(Dialog* dialog, std::span<const MessageRoute<Dialog>> routes)
{
    using Message = typename MessageRoute<Dialog>::Message;
    for (const MessageRoute<Dialog>& route : routes) {
        switch (route.message) {
        case Message::Clicked:
            dialog->RouteClicked(route.controlId, [dialog, handler = route.onClicked] { (dialog->*handler)(); });
            break;
        case Message::Timer:
            dialog->RouteTimer([dialog, handler = route.onTimer](int id) { (dialog->*handler)(id); });
            break;
        case Message::SysCommand:
            dialog->RouteSysCommand([dialog, handler = route.onSysCommand](unsigned id) { (dialog->*handler)(id); });
            break;
        }
    }
}

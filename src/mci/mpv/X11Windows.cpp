#include "mci/mpv/X11Windows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace trelvane::mci::x11 {

bool windowExists(std::uint64_t window) {
    if (window == 0 || window > UINT32_MAX) {
        return false;
    }
    // A connection of our own: its errors come back with the request that
    // caused them instead of going through a process-wide error handler that
    // the video outputs' threads share.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> owner(connection,
                                                                               xcb_disconnect);
    if (xcb_connection_has_error(connection) != 0) {
        return false;
    }
    xcb_generic_error_t* error = nullptr;
    const xcb_get_geometry_cookie_t cookie =
        xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window));
    xcb_get_geometry_reply_t* reply = xcb_get_geometry_reply(connection, cookie, &error);
    const bool exists = reply != nullptr && error == nullptr;
    std::free(reply);
    std::free(error);
    return exists;
}

}  // namespace trelvane::mci::x11

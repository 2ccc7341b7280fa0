#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <xcb/xcb.h>

#include "xcb/XcbReply.h"

class QRegion;
class QWidget;

namespace quillbern {

// Qt's own X connection; null on other platforms (the offscreen one of view tests offers
// the interface without a connection). Main thread.
xcb_connection_t* qtX11Connection();
// What was sent on the connection, xcb's own buffer flushed first, that the server has yet to
// read, in bytes as the kernel counted them when first asked this turn of the main loop, and
// what sendAfterThisTurn holds back; none where the socket cannot tell or the connection broke.
std::optional<int> bytesUnreadByServer(xcb_connection_t* connection);
// Sends the requests asked on Qt's connection, `bytes` of them ours, once this turn of the
// main loop is done, as it is about to wait: every write wakes the server, and a frame's
// several views need one. Until then bytesUnreadByServer counts them and flushes nothing.
// Main thread.
void sendAfterThisTurn(std::size_t bytes);
// Sends what was asked on the connection at once, what was held back with it; the unread
// bytes are asked of the socket again.
void sendNow(xcb_connection_t* connection);
// The reply to `request` without waiting for it, since another client may hold the server:
// none until the server answered, then the reply, null where it refused the request.
std::optional<XcbReply<void>> polledReply(xcb_connection_t* connection, unsigned request);

// Interned once per name on Qt's connection; XCB_ATOM_NONE without one.
xcb_atom_t qtX11Atom(std::string_view name);

// Asks the compositing manager to blur what lies behind this region of a top-level window
// (window coordinates, in points), or to stop with none or an empty one. Compositors that
// cannot blur ignore it.
void setBlurBehind(const QWidget& window, const std::optional<QRegion>& region);

// Takes WM_TAKE_FOCUS out of the WM_PROTOCOLS Qt gives every window it creates, for a
// window that never takes the focus: beside an input hint that is off, the offer would tell
// the window manager the window sets the focus itself when asked to take it.
void withdrawFocusOffer(const QWidget& window);

// The name the running window manager gives itself on its check window; empty without one.
std::string windowManagerName();

// Asks the window manager, as a pager would, to stack a managed top-level window right
// below another; some honour only this from an application that is not active.
void restackBelow(const QWidget& window, const QWidget& sibling);

// Asks the window manager, as a pager would, to move a shown top-level window to the
// desktop the user is on, so that activating it does not take the user to where it was left.
void moveToCurrentDesktop(const QWidget& window);

}  // namespace quillbern

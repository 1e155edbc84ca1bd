#pragma once

#include <QByteArray>

namespace vellumor::table {

// Whether a Host header's name or address (without its port) is this
// machine's: its name, "localhost", or one of its addresses. Anything else is
// a name someone else pointed here, as a rebinding page does.
bool isOwnHost(const QByteArray &host);

} // namespace vellumor::table

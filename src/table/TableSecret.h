#pragma once

#include <QByteArray>

namespace vellumor::table {

// The GM's secret: 128 bits from the system's random source, made anew at each
// start, as URL-safe base64 without padding (22 characters).
QByteArray newTableSecret();

// Whether offered is the secret, in a time that does not depend on where they
// first differ.
bool isTableSecret(const QByteArray &offered, const QByteArray &secret);

} // namespace vellumor::table

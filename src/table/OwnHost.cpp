#include "table/OwnHost.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

#include <algorithm>

namespace vellumor::table {

bool isOwnHost(const QByteArray &host)
{
    QHostAddress address;
    if (address.setAddress(QString::fromLatin1(host))) {
        if (address.isLoopback())
            return true;
        address.setScopeId({});
        const auto own = QNetworkInterface::allAddresses();
        return std::any_of(own.begin(), own.end(), [&](QHostAddress each) {
            each.setScopeId({});
            return each.isEqual(address, QHostAddress::TolerantConversion);
        });
    }
    const QByteArray name = QHostInfo::localHostName().toLower().toUtf8();
    return host == "localhost" || (!name.isEmpty() && (host == name || host == name + ".local"));
}

} // namespace vellumor::table

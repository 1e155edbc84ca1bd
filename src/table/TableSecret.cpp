#include "table/TableSecret.h"

#include <QRandomGenerator>

#include <array>

namespace vellumor::table {

QByteArray newTableSecret()
{
    std::array<quint32, 4> words {};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char *>(words.data()), sizeof(words));
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

bool isTableSecret(const QByteArray &offered, const QByteArray &secret)
{
    // Only the length, which every secret shares, decides early.
    if (offered.size() != secret.size() || secret.isEmpty())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < secret.size(); ++i)
        difference |= static_cast<unsigned char>(offered[i] ^ secret[i]);
    return difference == 0;
}

} // namespace vellumor::table

#include "document/MapCodec.h"

#include <cstdint>

namespace vellumor::mapfile {

namespace {

constexpr int kShownCharacters = 20;

// The offending text as the user should see it: short, and with anything that
// is not printable ASCII spelled out, so that a NUL or a byte-order mark shows.
QString quoted(QByteArrayView text)
{
    QString shown;
    const qsizetype count = std::min<qsizetype>(text.size(), kShownCharacters);
    for (qsizetype i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7f)
            shown += QLatin1Char(char(byte));
        else
            shown += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    if (text.size() > count)
        shown += QStringLiteral("...");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

} // namespace

QByteArray encode(const MapCodes &codes)
{
    QByteArray bytes;
    bytes.reserve(kCellCount * 8);
    for (SymbolCode code : codes) {
        bytes += QByteArray::number(code);
        bytes += "\r\n";
    }
    return bytes;
}

QString DecodeError::describe() const
{
    return QStringLiteral("Line %1: %2.").arg(line).arg(problem);
}

namespace {

// Where the line at the start of text ends: the index of its CR or LF, looked
// for no further than a line may run; -1 when there is none so near.
qsizetype lineLength(QByteArrayView text)
{
    const qsizetype reach = std::min<qsizetype>(text.size(), kMaxLineLength + 1);
    for (qsizetype i = 0; i < reach; ++i) {
        if (text[i] == '\n' || text[i] == '\r')
            return i;
    }
    return -1;
}

} // namespace

Decoder::State Decoder::feed(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size() && m_state == State::NeedMore) {
        if (m_afterCr) {
            if (bytes[at] != '\n') {
                failAtLoneCr(m_line);
                break;
            }
            ++at;
            endLine(m_line);
            continue;
        }
        if (m_line.isEmpty()) {
            at = takePlainLines(bytes, at);
            if (m_state != State::NeedMore || at == bytes.size())
                break;
            // Mostly a whole line lies in this piece, and is read where it lies.
            const QByteArrayView rest = bytes.sliced(at);
            const qsizetype length = lineLength(rest);
            if (length >= 0) {
                const QByteArrayView line = rest.first(length);
                if (rest[length] == '\n') {
                    endLine(line);
                    at += length + 1;
                } else if (length + 1 == rest.size()) {
                    // The LF that must follow the CR comes with the next piece.
                    m_line = line.toByteArray();
                    m_afterCr = true;
                    at = bytes.size();
                } else if (rest[length + 1] == '\n') {
                    endLine(line);
                    at += length + 2;
                } else {
                    failAtLoneCr(line);
                }
                continue;
            }
            if (rest.size() > kMaxLineLength) {
                failTooLong(rest.first(kMaxLineLength));
                break;
            }
            // The line goes on in the next piece: keep what is here.
        }
        const char byte = bytes[at++];
        if (byte == '\r')
            m_afterCr = true;
        else if (byte == '\n')
            endLine(m_line);
        else if (m_line.size() >= kMaxLineLength)
            failTooLong(m_line);
        else
            m_line += byte;
    }
    return m_state;
}

// Lines as SaveMap writes them, one or two digits naming a symbol and CR LF,
// are taken here without further ado; anything else is left to the general
// reading, which accepts the same lines with the same values.
qsizetype Decoder::takePlainLines(QByteArrayView bytes, qsizetype at)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const char *p = bytes.data() + at;
    const char *const end = bytes.data() + bytes.size();
    while (m_cellsRead < kCellCount) {
        int value = -1;
        int length = 0;
        if (end - p >= 3 && isDigit(p[0]) && p[1] == '\r' && p[2] == '\n') {
            value = p[0] - '0';
            length = 3;
        } else if (end - p >= 4 && isDigit(p[0]) && isDigit(p[1]) && p[2] == '\r' && p[3] == '\n') {
            value = (p[0] - '0') * 10 + (p[1] - '0');
            length = 4;
        }
        if (!isSymbolCode(value))
            break;
        m_codes[std::size_t(m_cellsRead++)] = SymbolCode(value);
        p += length;
    }
    if (m_cellsRead == kCellCount)
        m_state = State::Complete;
    return p - bytes.data();
}

Decoder::State Decoder::finish()
{
    if (m_state != State::NeedMore)
        return m_state;
    if (!m_line.isEmpty() || m_afterCr)
        endLine(m_line);
    if (m_state == State::NeedMore) {
        if (m_cellsRead == 0)
            fail(QStringLiteral("the file is empty; a map has %1 lines").arg(kCellCount));
        else
            fail(QStringLiteral("the file ends after %1 lines; a map has %2")
                     .arg(m_cellsRead)
                     .arg(kCellCount));
    }
    return m_state;
}

namespace {

// A line's code, or what is wrong with the line.
std::variant<SymbolCode, QString> parseLine(QByteArrayView line)
{
    const QByteArrayView text = trimmed(line);
    if (text.isEmpty())
        return QStringLiteral("the line is empty");
    const QByteArrayView digits = text.front() == '-' ? text.sliced(1) : text;
    bool wellFormed = !digits.isEmpty();
    std::int64_t magnitude = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            wellFormed = false;
            break;
        }
        // Past 16 bits the exact value no longer matters, only that it is too large.
        if (magnitude <= 32768)
            magnitude = magnitude * 10 + (c - '0');
    }
    if (!wellFormed)
        return QStringLiteral("%1 is not a whole number").arg(quoted(line));
    const std::int64_t value = text.front() == '-' ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return QStringLiteral("%1 lies outside -32768 to 32767").arg(quoted(text));
    if (!isSymbolCode(int(value)))
        return QStringLiteral("%1 is not a symbol code (0 to %2)")
            .arg(value)
            .arg(kHighestSymbolCode);
    return SymbolCode(value);
}

} // namespace

void Decoder::endLine(QByteArrayView line)
{
    m_afterCr = false;
    const auto parsed = parseLine(line);
    if (const auto *problem = std::get_if<QString>(&parsed)) {
        fail(*problem);
        return;
    }
    m_codes[m_cellsRead++] = std::get<SymbolCode>(parsed);
    m_line.clear();
    if (m_cellsRead == kCellCount)
        m_state = State::Complete;
}

void Decoder::failAtLoneCr(QByteArrayView line)
{
    // Text that is no map at all (UTF-16, say) is better named for its content.
    const auto parsed = parseLine(line);
    if (const auto *problem = std::get_if<QString>(&parsed))
        fail(*problem);
    else
        fail(QStringLiteral("the line ends in CR alone; lines end in CR LF or LF"));
}

void Decoder::failTooLong(QByteArrayView start)
{
    fail(QStringLiteral("%1 is too long for a line of a map").arg(quoted(start)));
}

void Decoder::fail(QString problem)
{
    m_state = State::Failed;
    m_error = {m_cellsRead + 1, std::move(problem)};
}

std::variant<MapCodes, DecodeError> decode(QByteArrayView bytes)
{
    Decoder decoder;
    decoder.feed(bytes);
    if (decoder.finish() == Decoder::State::Complete)
        return decoder.codes();
    return decoder.error();
}

} // namespace vellumor::mapfile

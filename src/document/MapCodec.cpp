#include "MapCodec.h"

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

Decoder::State Decoder::feed(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (m_state != State::NeedMore)
            break;
        if (m_afterCr) {
            m_afterCr = false;
            if (byte != '\n') {
                failAtLoneCr();
                break;
            }
        }
        if (byte == '\r') {
            m_afterCr = true;
        } else if (byte == '\n') {
            endLine();
        } else if (m_line.size() >= kMaxLineLength) {
            fail(QStringLiteral("%1 is too long for a line of a map").arg(quoted(m_line)));
        } else {
            m_line += byte;
        }
    }
    return m_state;
}

Decoder::State Decoder::finish()
{
    if (m_state != State::NeedMore)
        return m_state;
    if (!m_line.isEmpty() || m_afterCr)
        endLine();
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
        return QStringLiteral("%1 is not a symbol code (0 to %2)").arg(value).arg(kHighestSymbolCode);
    return SymbolCode(value);
}

} // namespace

void Decoder::endLine()
{
    m_afterCr = false;
    const auto parsed = parseLine(m_line);
    if (const auto *problem = std::get_if<QString>(&parsed)) {
        fail(*problem);
        return;
    }
    m_codes[m_cellsRead++] = std::get<SymbolCode>(parsed);
    m_line.clear();
    if (m_cellsRead == kCellCount)
        m_state = State::Complete;
}

void Decoder::failAtLoneCr()
{
    // Text that is no map at all (UTF-16, say) is better named for its content.
    const auto parsed = parseLine(m_line);
    if (const auto *problem = std::get_if<QString>(&parsed))
        fail(*problem);
    else
        fail(QStringLiteral("the line ends in CR alone; lines end in CR LF or LF"));
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

#pragma once

#include "document/Standard.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <variant>

// The map file: 875 lines in cell order, each a signed decimal code and CR LF.
// Reading also takes LF alone, blanks or tabs around a number and a last line
// without its line end; it stops after the 875th line.
namespace vellumor::mapfile {

// Longest line, without its line end, that the reader looks at before it gives
// up: room for any 16-bit number with generous blanks around it.
inline constexpr int kMaxLineLength = 32;

QByteArray encode(const MapCodes &codes);

struct DecodeError
{
    int line = 0; // 1-based
    QString problem; // what was found there, e.g. "\"abc\" is not a whole number"
    QString describe() const;
};

// Reads a map file piece by piece, so that a caller can stop reading a file as
// soon as the map is complete or the file has shown itself to be no map.
class Decoder
{
public:
    enum class State { NeedMore, Complete, Failed };

    State feed(QByteArrayView bytes);
    State finish(); // the input has ended

    State state() const { return m_state; }
    const MapCodes &codes() const { return m_codes; }
    const DecodeError &error() const { return m_error; }

private:
    qsizetype takePlainLines(QByteArrayView bytes, qsizetype at);
    void endLine(QByteArrayView line);
    void failAtLoneCr(QByteArrayView line);
    void failTooLong(QByteArrayView start);
    void fail(QString problem);

    State m_state = State::NeedMore;
    MapCodes m_codes {};
    int m_cellsRead = 0;
    QByteArray m_line;
    bool m_afterCr = false;
    DecodeError m_error;
};

std::variant<MapCodes, DecodeError> decode(QByteArrayView bytes);

} // namespace vellumor::mapfile

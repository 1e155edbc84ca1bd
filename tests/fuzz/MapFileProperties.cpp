#include "fuzz/MapFileProperties.h"

#include "document/MapCodec.h"
#include "rules/MapFix.h"
#include "rules/MapLint.h"

#include <QList>

#include <cstdint>
#include <optional>

namespace vellumor::fuzzing {

namespace {

using mapfile::Decoder;

struct Verdict
{
    bool accepted = false;
    MapCodes codes {};
    int line = 0; // of the refusal
};

QString describe(const Verdict &verdict)
{
    return verdict.accepted ? QStringLiteral("accepted")
                            : QStringLiteral("refused at line %1").arg(verdict.line);
}

bool operator==(const Verdict &a, const Verdict &b)
{
    return a.accepted == b.accepted && (a.accepted ? a.codes == b.codes : a.line == b.line);
}

Verdict verdictOf(const Decoder &decoder)
{
    Verdict verdict;
    verdict.accepted = decoder.state() == Decoder::State::Complete;
    if (verdict.accepted)
        verdict.codes = decoder.codes();
    else
        verdict.line = decoder.error().line;
    return verdict;
}

// Pieces of 1 to 600 bytes, the same for the same input, so that a finding replays.
QList<qsizetype> unevenPieces(QByteArrayView bytes)
{
    std::uint64_t state = 1469598103934665603ull;
    for (const char c : bytes)
        state = (state ^ std::uint8_t(c)) * 1099511628211ull;
    QList<qsizetype> pieces;
    for (qsizetype left = bytes.size(); left > 0;) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const qsizetype piece = std::min<qsizetype>(left, qsizetype(1 + state % 600));
        pieces.append(piece);
        left -= piece;
    }
    return pieces;
}

Verdict readInPieces(QByteArrayView bytes, const QList<qsizetype> &pieces)
{
    Decoder decoder;
    qsizetype at = 0;
    for (const qsizetype piece : pieces) {
        if (decoder.feed(bytes.sliced(at, piece)) != Decoder::State::NeedMore)
            return verdictOf(decoder);
        at += piece;
    }
    decoder.finish();
    return verdictOf(decoder);
}

// The layout the reader documents, written out plainly as a second opinion:
// lines end in LF or CR LF; a line holds at most kMaxLineLength bytes and a
// decimal number, optionally negative, with blanks or tabs around it; the
// number is a symbol code; the file holds at least kCellCount lines, the last
// of which may lack its line end; nothing after them is looked at.
std::optional<SymbolCode> referenceValue(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() > mapfile::kMaxLineLength || line.contains('\r'))
        return std::nullopt;
    while (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t'))
        line = line.sliced(1);
    while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\t'))
        line.chop(1);
    const bool negative = line.startsWith('-');
    const QByteArrayView digits = negative ? line.sliced(1) : line;
    if (digits.isEmpty())
        return std::nullopt;
    long long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min(value * 10 + (c - '0'), 1000000LL);
    }
    if (negative)
        value = -value;
    if (!isSymbolCode(int(value)))
        return std::nullopt;
    return SymbolCode(value);
}

Verdict referenceVerdict(QByteArrayView bytes)
{
    Verdict verdict;
    qsizetype at = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (at >= bytes.size()) {
            verdict.line = cell + 1;
            return verdict;
        }
        const qsizetype end = bytes.indexOf('\n', at);
        const qsizetype lineEnd = end < 0 ? bytes.size() : end;
        const auto value = referenceValue(bytes.sliced(at, lineEnd - at));
        if (!value) {
            verdict.line = cell + 1;
            return verdict;
        }
        verdict.codes[std::size_t(cell)] = *value;
        at = lineEnd + 1;
    }
    verdict.accepted = true;
    return verdict;
}

int lineCount(QByteArrayView bytes)
{
    const auto ends = int(bytes.count('\n'));
    return ends + (!bytes.isEmpty() && !bytes.endsWith('\n') ? 1 : 0);
}

// Any map the reader accepts is checked and mended without harm: fix leaves
// no more errors than it found, reports what lint says of its result, and
// changes nothing when run on that result.
QString checkLintAndFix(const MapCodes &codes)
{
    const int errors = rules::errorCount(rules::lintMap(codes));
    const rules::FixResult fixed = rules::fixMap(codes);
    if (rules::errorCount(fixed.unmended) > errors)
        return QStringLiteral("fix left %1 errors of %2")
            .arg(rules::errorCount(fixed.unmended))
            .arg(errors);
    if (fixed.unmended != rules::lintMap(fixed.codes))
        return QStringLiteral("fix reports other findings than lint of its result");
    if (rules::fixMap(fixed.codes).codes != fixed.codes)
        return QStringLiteral("fix changes its own result");
    return {};
}

} // namespace

QString checkMapFile(QByteArrayView bytes)
{
    Decoder whole;
    whole.feed(bytes);
    whole.finish();
    const Verdict verdict = verdictOf(whole);

    Decoder bytewise;
    for (qsizetype i = 0; i < bytes.size() && bytewise.state() == Decoder::State::NeedMore; ++i)
        bytewise.feed(bytes.sliced(i, 1));
    bytewise.finish();
    if (!(verdictOf(bytewise) == verdict))
        return QStringLiteral("read whole: %1, byte by byte: %2")
            .arg(describe(verdict), describe(verdictOf(bytewise)));

    const Verdict pieces = readInPieces(bytes, unevenPieces(bytes));
    if (!(pieces == verdict))
        return QStringLiteral("read whole: %1, in pieces: %2")
            .arg(describe(verdict), describe(pieces));

    const Verdict reference = referenceVerdict(bytes);
    if (!(reference == verdict))
        return QStringLiteral("reader: %1, documented layout: %2")
            .arg(describe(verdict), describe(reference));

    if (!verdict.accepted) {
        const int lines = lineCount(bytes);
        if (verdict.line < 1 || verdict.line > lines + 1)
            return QStringLiteral("refused at line %1 of a file of %2 lines")
                .arg(verdict.line)
                .arg(lines);
        if (whole.error().problem.isEmpty()
            || !whole.error().describe().startsWith(QStringLiteral("Line %1: ").arg(verdict.line)))
            return QStringLiteral("refusal without a clear reason: %1")
                .arg(whole.error().describe());
        return {};
    }

    for (const SymbolCode code : verdict.codes) {
        if (!isSymbolCode(code))
            return QStringLiteral("accepted code %1").arg(code);
    }
    const QByteArray canonical = mapfile::encode(verdict.codes);
    const auto reread = mapfile::decode(canonical);
    if (!std::holds_alternative<MapCodes>(reread) || std::get<MapCodes>(reread) != verdict.codes)
        return QStringLiteral("the canonical form does not read back to the same codes");
    if (mapfile::encode(std::get<MapCodes>(reread)) != canonical)
        return QStringLiteral("the canonical form is not written the same twice");
    return checkLintAndFix(verdict.codes);
}

} // namespace vellumor::fuzzing

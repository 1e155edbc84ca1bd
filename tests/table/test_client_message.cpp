// The strict reading of what a page sends, for the party's, the pointer's and
// the sight region's messages: every field checked, a value out of range read
// so that the table refuses it with a notice, anything malformed an error; and
// what undo says a party's move did.
#include "table/ClientMessage.h"
#include "table/StepDescription.h"

#include <QTest>

using namespace vellumor;
using namespace vellumor::table;

namespace {

// The message of type T the bytes are read as: a GM's command or another.
template<typename T> std::optional<T> command(const char *json)
{
    const auto parsed = parseClientMessage(QByteArray(json));
    const auto *message = std::get_if<ClientMessage>(&parsed);
    if (!message)
        return std::nullopt;
    const T *wanted = nullptr;
    if constexpr (std::is_same_v<T, Point>)
        wanted = std::get_if<T>(message);
    else if (const auto *gm = std::get_if<GmCommand>(message))
        wanted = std::get_if<T>(gm);
    return wanted ? std::optional<T>(*wanted) : std::nullopt;
}

bool refused(const char *json)
{
    return std::holds_alternative<MessageError>(parseClientMessage(QByteArray(json)));
}

} // namespace

class TestClientMessage : public QObject
{
    Q_OBJECT
private slots:
    void thePartyIsReadStrictly()
    {
        const auto party = command<SetParty>(
            R"({"type":"party","map":0,"markers":[{"colour":5,"cell":874},{"colour":0,"cell":0}]})");
        QVERIFY(party);
        QCOMPARE(party->party, (Party {0, kNoMarker, kNoMarker, kNoMarker, kNoMarker, 874}));
        QCOMPARE(command<SetParty>(R"({"type":"party","map":0,"markers":[]})")->party, kNoParty);
        // Off the map: read as kCellCount, for the table to refuse.
        QCOMPARE(command<SetParty>(R"({"type":"party","map":0,"markers":[{"colour":1,"cell":-1}]})")
                     ->party[1],
            kCellCount);
        for (const char *malformed :
            {
                R"({"type":"party","map":0})",
                R"({"type":"party","map":0,"markers":{}})",
                R"({"type":"party","map":0,"markers":[{"colour":6,"cell":3}]})",
                R"({"type":"party","map":0,"markers":[{"colour":0,"cell":3},{"colour":0,"cell":4}]})",
                R"({"type":"party","map":0,"markers":[{"colour":0,"cell":3,"name":"x"}]})",
                R"({"type":"party","map":0,"markers":[{"colour":0,"cell":2.5}]})",
                R"({"type":"party","map":0,"markers":[0,1,2,3,4,5,6]})",
            })
            QVERIFY2(refused(malformed), malformed);
    }

    void followAndItsRange()
    {
        QCOMPARE(
            command<SetFollow>(R"({"type":"follow","map":0,"follow":true,"range":null})")->range,
            SightRange {});
        QCOMPARE(command<SetFollow>(R"({"type":"follow","map":0,"follow":false,"range":4})")->range,
            SightRange {4});
        // Out of 1..99: 0, which the table refuses with a notice.
        QCOMPARE(
            command<SetFollow>(R"({"type":"follow","map":0,"follow":true,"range":100})")->range,
            SightRange {0});
        QVERIFY(refused(R"({"type":"follow","map":0,"follow":true})"));
        QVERIFY(refused(R"({"type":"follow","map":0,"follow":1,"range":null})"));
        QVERIFY(refused(R"({"type":"follow","map":0,"follow":true,"range":"torch"})"));
        QCOMPARE(command<RevealRegion>(
                     R"({"type":"region","map":0,"cell":36,"kind":"sight","revealed":true})")
                     ->kind,
            Region::Sight);
        QVERIFY(refused(R"({"type":"region","map":0,"cell":36,"kind":"seen","revealed":true})"));
        QCOMPARE(command<Point>(R"({"type":"point","map":0,"cell":36})")->cell, 36);
        QVERIFY(refused(R"({"type":"point","map":0})"));
    }

    void undoSaysWhatThePartyDid()
    {
        MapState before;
        MapState after = before;
        after.party[0] = 40;
        QCOMPARE(describeStep(SetParty {0, after.party}, MapCodes {}, before, after),
            QStringLiteral("moved the party"));
        after.revealed.set(40).set(41);
        QCOMPARE(describeStep(SetParty {0, after.party}, MapCodes {}, before, after),
            QStringLiteral("moved the party and revealed 2 cells it sees"));
        QCOMPARE(describeStep(SetFollow {0, false, {}}, MapCodes {}, after, after),
            QStringLiteral("stopped following the party"));
    }
};

QTEST_GUILESS_MAIN(TestClientMessage)
#include "test_client_message.moc"

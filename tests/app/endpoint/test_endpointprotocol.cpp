// The endpoint without sockets: the item's value and its text form, the command language's edge cases,
// and one conversation's requests and replies, fed in pieces as a socket would deliver them.
#include <gtest/gtest.h>

#include "app/endpoint/endpointcommand.h"
#include "app/endpoint/endpointitem.h"
#include "app/endpoint/endpointprotocol.h"

namespace skyrel {
namespace {

using Lines = QList<QByteArray>;

TEST(EndpointItem, TextFormEndsEveryLineInCrLfAndARequestAddsOneZeroByte) {
    EndpointItem item;
    EXPECT_TRUE(item.lines().isEmpty());
    EXPECT_EQ(item.textForm(), QByteArray());
    EXPECT_EQ(item.requestPayload(), QByteArray(1, '\0'));
    EXPECT_EQ(item.firstLine(), QByteArray());

    // A pointing line carries its own CR LF, so the text form ends in CR LF CR LF.
    item.setPointingLine("Moon AZ:5.0 EL:7.3\r\n");
    EXPECT_EQ(item.lines(), Lines{"Moon AZ:5.0 EL:7.3\r\n"});
    EXPECT_EQ(item.textForm(), QByteArray("Moon AZ:5.0 EL:7.3\r\n\r\n"));
    EXPECT_EQ(item.requestPayload(), QByteArray("Moon AZ:5.0 EL:7.3\r\n\r\n\0", 23));

    // A format none of the four leaves one empty line.
    item.setPointingLine(QByteArray());
    EXPECT_EQ(item.textForm(), QByteArray("\r\n"));
}

TEST(EndpointItem, APokeIsSplitAtEveryKindOfLineBreakAndEndsAtItsFirstZeroByte) {
    EndpointItem item;
    item.setPokedText("TRACK_SUN\r\n");
    EXPECT_EQ(item.lines(), Lines{"TRACK_SUN"});
    EXPECT_EQ(item.textForm(), QByteArray("TRACK_SUN\r\n"));

    item.setPokedText("a\r\nb\nc\rd");
    EXPECT_EQ(item.lines(), (Lines{"a", "b", "c", "d"}));

    item.setPokedText("a\n\nb\r\n\r\n");
    EXPECT_EQ(item.lines(), (Lines{"a", "", "b", ""}));
    EXPECT_EQ(item.textForm(), QByteArray("a\r\n\r\nb\r\n\r\n"));

    item.setPokedText(QByteArrayView("TRACK_OFF\0TRACK_SUN", 19));
    EXPECT_EQ(item.lines(), Lines{"TRACK_OFF"});

    item.setPokedText(QByteArrayView("\0TRACK_SUN", 10));
    EXPECT_TRUE(item.lines().isEmpty());
    EXPECT_EQ(item.requestPayload(), QByteArray(1, '\0'));
}

TEST(EndpointCommand, EachCommandWordNamesItsCommand) {
    EXPECT_EQ(CommandOfLine("TRACK_SUN"), EndpointCommand::TrackSun);
    EXPECT_EQ(CommandOfLine("TRACK_MOON"), EndpointCommand::TrackMoon);
    EXPECT_EQ(CommandOfLine("TRACK_PARK"), EndpointCommand::TrackPark);
    EXPECT_EQ(CommandOfLine("TRACK_OFF"), EndpointCommand::TrackOff);
    EXPECT_EQ(CommandOfLine("TRACK_DDE"), EndpointCommand::TrackDde);
    EXPECT_EQ(CommandOfLine("TRACK_SER"), EndpointCommand::TrackSer);
    EXPECT_EQ(CommandOfLine("TRACK_SHUT"), EndpointCommand::TrackShut);
    EXPECT_EQ(CommandOfLine("TRACK_SRC"), EndpointCommand::TrackSrc);
    EXPECT_EQ(CommandOfLine("RADIO_OFF"), EndpointCommand::RadioOff);
    EXPECT_EQ(CommandOfLine("RADIO_ECHO"), EndpointCommand::RadioEcho);
    EXPECT_EQ(CommandOfLine("RADIO_MOON"), EndpointCommand::RadioMoon);
    EXPECT_EQ(CommandOfLine("RADIO_DX"), EndpointCommand::RadioDx);
    EXPECT_EQ(CommandOfLine("PTT_ON"), EndpointCommand::PttOn);
    EXPECT_EQ(CommandOfLine("PTT_OFF"), EndpointCommand::PttOff);
    // Eleven characters count: "RADIO_ECHOX" is no command, "RADIO_MOON" followed by a blank is one.
    EXPECT_EQ(CommandOfLine("RADIO_ECHOX"), std::nullopt);
    EXPECT_EQ(CommandOfLine("RADIO_MOON \r\n"), EndpointCommand::RadioMoon);
}

TEST(EndpointCommand, OnlyTheFirstElevenCharactersCountAndBlanksAndControlsAreTrimmed) {
    auto commandOfPoke = [](QByteArrayView poke) {
        EndpointItem item;
        item.setPokedText(poke);
        return CommandOfItem(item);
    };
    EXPECT_EQ(commandOfPoke("TRACK_SUN\r\n"), EndpointCommand::TrackSun);
    EXPECT_EQ(commandOfPoke("  TRACK_SUN"), EndpointCommand::TrackSun);
    // Three blanks: the first 11 characters end in "TRACK_SU".
    EXPECT_EQ(commandOfPoke("   TRACK_SUN"), std::nullopt);
    EXPECT_EQ(commandOfPoke("\t\x01TRACK_OFF\x1f "), EndpointCommand::TrackOff);
    EXPECT_EQ(commandOfPoke("TRACK_SUN\t\t"), EndpointCommand::TrackSun);
    EXPECT_EQ(commandOfPoke("track_sun"), std::nullopt);
    EXPECT_EQ(commandOfPoke("Track_Moon"), std::nullopt);
    // Further visible characters: cut to 11 they are no command, and 11 in all are not trimmed.
    EXPECT_EQ(commandOfPoke("TRACK_SUNNY"), std::nullopt);
    EXPECT_EQ(commandOfPoke("TRACK_SUN_NOW"), std::nullopt);
    EXPECT_EQ(commandOfPoke("TRACK_MOONX"), std::nullopt);
    // Blanks beyond the 11th character are cut before trimming, so a blank after the word is fine.
    EXPECT_EQ(commandOfPoke("TRACK_MOON X"), EndpointCommand::TrackMoon);
    // A command on the second line is not read.
    EXPECT_EQ(commandOfPoke("hello\r\nTRACK_SUN\r\n"), std::nullopt);
    EXPECT_EQ(commandOfPoke("\r\nTRACK_SUN"), std::nullopt);
    EXPECT_EQ(commandOfPoke(""), std::nullopt);
    // A byte above 127 is a visible character, not a blank.
    EXPECT_EQ(commandOfPoke("\xa0TRACK_SUN"), std::nullopt);
}

// A server stand-in: holds the item and records the pokes in the order they came.
class RecordingHost : public EndpointHost {
public:
    const EndpointItem& item() const override { return item_; }
    void poke(QByteArrayView bytes) override {
        item_.setPokedText(bytes);
        pokes.append(bytes.toByteArray());
        if (conversation) conversation->notify(item_.textForm());
    }
    EndpointItem item_;
    Lines pokes;
    EndpointConversation* conversation = nullptr;
};

class ConversationTest : public ::testing::Test {
protected:
    ConversationTest() : conversation(host, [this](const QByteArray& bytes) { sent += bytes; }) {
        host.conversation = &conversation;
    }
    // What the conversation answered to `bytes`.
    QByteArray answer(QByteArrayView bytes) {
        sent.clear();
        conversation.receive(bytes);
        return sent;
    }
    RecordingHost host;
    QByteArray sent;
    EndpointConversation conversation;
};

TEST_F(ConversationTest, ConnectMatchesServiceAndTopicWhateverTheirCase) {
    EXPECT_EQ(answer("REQUEST SkyrelItem TEXT\n"), "ERR not connected\n");
    EXPECT_EQ(answer("CONNECT Skyrel Other\n"), "ERR no such topic\n");
    EXPECT_EQ(answer("CONNECT Skyre SkyrelServ\n"), "ERR no such topic\n");
    EXPECT_FALSE(conversation.connected());
    EXPECT_EQ(answer("CONNECT sKYREL skyrelserv\n"), "OK\n");
    EXPECT_TRUE(conversation.connected());
    EXPECT_EQ(answer("CONNECT Skyrel SkyrelServ\r\n"), "OK\n");
}

TEST_F(ConversationTest, TheItemNameMatchesWithItsCaseAndOnlyTextIsServed) {
    answer("CONNECT Skyrel SkyrelServ\n");
    EXPECT_EQ(answer("REQUEST skyrelitem TEXT\n"), "ERR no such item\n");
    EXPECT_EQ(answer("REQUEST SkyrelItem UNICODETEXT\n"), "ERR format not supported\n");
    EXPECT_EQ(answer("ADVISE SkyrelItem BITMAP\n"), "ERR format not supported\n");
    EXPECT_EQ(answer("POKE SkyrelItem RTF 9\nTRACK_SUN"), "ERR format not supported\n");
    EXPECT_EQ(answer("POKE SKYRELITEM TEXT 9\nTRACK_SUN"), "ERR no such item\n");
    EXPECT_TRUE(host.pokes.isEmpty());
    EXPECT_EQ(answer("REQUEST SkyrelItem TEXT\n"), QByteArray("DATA 1\n\0", 8));
}

TEST_F(ConversationTest, MalformedLinesAreRefusedWithTheReasonAndTheConversationGoesOn) {
    EXPECT_EQ(answer("HELLO\n"), "ERR unknown request\n");
    EXPECT_EQ(answer("\n"), "ERR empty request\n");
    EXPECT_EQ(answer("connect Skyrel SkyrelServ\n"), "ERR unknown request\n");
    EXPECT_EQ(answer("CONNECT Skyrel\n"), "ERR usage: CONNECT <service> <topic>\n");
    EXPECT_EQ(answer("CONNECT Skyrel SkyrelServ\n"), "OK\n");
    EXPECT_EQ(answer("REQUEST SkyrelItem\n"), "ERR usage: REQUEST <item> TEXT\n");
    EXPECT_EQ(answer("ADVISE\n"), "ERR usage: ADVISE <item> TEXT\n");
    EXPECT_EQ(answer("UNADVISE SkyrelItem TEXT\n"), "ERR usage: UNADVISE <item>\n");
    EXPECT_EQ(answer("POKE SkyrelItem TEXT -3\n"), "ERR usage: POKE <item> TEXT <n>\n");
    EXPECT_EQ(answer("POKE SkyrelItem TEXT 3x\n"), "ERR usage: POKE <item> TEXT <n>\n");
    EXPECT_EQ(answer("POKE SkyrelItem TEXT\n"), "ERR usage: POKE <item> TEXT <n>\n");
    EXPECT_EQ(answer("EXECUTE\n"), "ERR usage: EXECUTE <n>\n");
    EXPECT_FALSE(conversation.finished());
    EXPECT_EQ(answer("  REQUEST   SkyrelItem  TEXT \n"), QByteArray("DATA 1\n\0", 8));
}

TEST_F(ConversationTest, APokeCarriesCrLfAndZeroBytesUnchangedAndMayArriveInPieces) {
    answer("CONNECT Skyrel SkyrelServ\n");
    const QByteArray request = PokeRequest(endpoint::kItemName, QByteArray("TRACK_SUN\r\n\0rest\n", 17));
    QByteArray replies;
    for (const char byte : request) replies += answer(QByteArrayView(&byte, 1));
    EXPECT_EQ(replies, "OK\n");
    ASSERT_EQ(host.pokes.size(), 1);
    EXPECT_EQ(host.pokes[0], QByteArray("TRACK_SUN\r\n\0rest\n", 17));
    EXPECT_EQ(host.item().lines(), Lines{"TRACK_SUN"});
    EXPECT_EQ(conversation.pendingBytes(), 0);

    // A poke and a request in one piece are answered in order; a request returns the poked text.
    EXPECT_EQ(answer(PokeRequest(endpoint::kItemName, "TRACK_OFF") + RequestRequest(endpoint::kItemName)),
              QByteArray("OK\nDATA 12\nTRACK_OFF\r\n\0", 23));
    // An empty poke empties the value.
    EXPECT_EQ(answer("POKE SkyrelItem TEXT 0\n"), "OK\n");
    EXPECT_TRUE(host.item().lines().isEmpty());
}

TEST_F(ConversationTest, AnAdvisedConversationHearsEveryChangeBeforeThePokesOwnReply) {
    answer("CONNECT Skyrel SkyrelServ\n");
    EXPECT_EQ(answer(AdviseRequest(endpoint::kItemName)), "OK\n");
    EXPECT_TRUE(conversation.advised());
    EXPECT_EQ(answer(PokeRequest(endpoint::kItemName, "a\nb")), "DATA 6\na\r\nb\r\nOK\n");
    EXPECT_EQ(answer(UnadviseRequest(endpoint::kItemName)), "OK\n");
    EXPECT_EQ(answer(PokeRequest(endpoint::kItemName, "c")), "OK\n");
    // A failed CONNECT ends the conversation's link.
    answer(AdviseRequest(endpoint::kItemName));
    EXPECT_EQ(answer("CONNECT Skyrel Nothing\n"), "ERR no such topic\n");
    EXPECT_FALSE(conversation.advised());
}

TEST_F(ConversationTest, ExecuteIsAcceptedAndIgnored) {
    EXPECT_EQ(answer(ExecuteRequest("[Close]")), "ERR not connected\n");
    answer("CONNECT Skyrel SkyrelServ\n");
    host.item_.setPointingLine("AZ1.0 EL2.0 UP000000000 UUU DN000000000 DDD\r\n");
    EXPECT_EQ(answer(ExecuteRequest(QByteArray("TRACK_SHUT\0\r\n", 13))), "OK\n");
    EXPECT_TRUE(host.pokes.isEmpty());
    EXPECT_EQ(host.item().lines(), Lines{"AZ1.0 EL2.0 UP000000000 UUU DN000000000 DDD\r\n"});
}

TEST_F(ConversationTest, APayloadOver64KiBOrAnEndlessLineIsRefusedAndEndsTheConversation) {
    answer("CONNECT Skyrel SkyrelServ\n");
    // Exactly 64 KiB is allowed.
    EXPECT_EQ(answer(PokeRequest(endpoint::kItemName, QByteArray(endpoint::kMaxPayload, 'x'))), "OK\n");
    EXPECT_EQ(answer("POKE SkyrelItem TEXT 65537\nREQUEST SkyrelItem TEXT\n"), "ERR too large\n");
    EXPECT_TRUE(conversation.finished());
    EXPECT_EQ(answer("REQUEST SkyrelItem TEXT\n"), QByteArray());
    EXPECT_EQ(host.pokes.size(), 1);

    RecordingHost otherHost;
    QByteArray sent;
    EndpointConversation endless(otherHost, [&sent](const QByteArray& bytes) { sent += bytes; });
    endless.receive(QByteArray(endpoint::kMaxRequestLine, 'A'));
    EXPECT_EQ(sent, QByteArray());
    endless.receive("A");
    EXPECT_EQ(sent, "ERR too large\n");
    EXPECT_TRUE(endless.finished());
    EXPECT_EQ(endless.pendingBytes(), 0);
}

TEST(EndpointReplyReader, ReadsRepliesAndPayloadsSplitAnywhere) {
    const QByteArray stream = QByteArrayLiteral("OK\nERR no such topic\nDATA 5\nA\r\n\0\nDATA 0\nERR\n");
    EndpointReplyReader reader;
    QList<EndpointReply> replies;
    for (const char byte : stream) {
        reader.receive(QByteArrayView(&byte, 1));
        while (auto reply = reader.next()) replies.append(*reply);
    }
    ASSERT_EQ(replies.size(), 5);
    EXPECT_EQ(replies[0].kind, EndpointReply::Kind::Ok);
    EXPECT_EQ(replies[1].kind, EndpointReply::Kind::Error);
    EXPECT_EQ(replies[1].reason, "no such topic");
    EXPECT_EQ(replies[2].kind, EndpointReply::Kind::Data);
    EXPECT_EQ(replies[2].payload, QByteArray("A\r\n\0\n", 5));
    EXPECT_EQ(replies[3].payload, QByteArray());
    EXPECT_EQ(replies[4].kind, EndpointReply::Kind::Error);
    EXPECT_EQ(replies[4].reason, QByteArray());

    EndpointReplyReader garbled;
    garbled.receive("DATA x\nOK\n");
    EXPECT_EQ(garbled.next(), std::nullopt);
    EXPECT_TRUE(garbled.malformed());
}

}  // namespace
}  // namespace skyrel

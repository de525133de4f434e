// The card terminals' line protocol: lines survive a round trip whatever their values hold,
// malformed lines are rejected, each kind's request carries its library's values and each
// kind's answer reads to the right outcome.

#include <gtest/gtest.h>

#include "suite/pcpos/PosProtocol.h"

namespace si::test {
namespace {

using pcpos::ProtocolLine;
using pcpos::SaleResult;
using Outcome = pcpos::SaleResult::Outcome;

TEST(PosProtocolLine, RoundTripKeepsValuesWithSeparatorsAndPersianText) {
    ProtocolLine line{pcpos::kResultVerb, {}};
    line.add(QStringLiteral("ResponseText"), QStringLiteral("موجودي كارت كافي نيست; كد=51 (100%)"));
    line.add(QStringLiteral("Receipt"), QStringLiteral("سطر یک\nسطر دو\r\n"));
    line.add(QStringLiteral("Empty"), QString());
    line.add(QStringLiteral("Escaped_Text"), QStringLiteral("%3B is not ;"));

    const QByteArray bytes = pcpos::SerializeLine(line);
    EXPECT_EQ(bytes.count('\n'), 1);
    EXPECT_TRUE(bytes.endsWith('\n'));
    const std::optional<ProtocolLine> back = pcpos::ParseLine(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->verb, line.verb);
    EXPECT_EQ(back->fields, line.fields);
}

TEST(PosProtocolLine, AcceptsAVerbAloneAndACarriageReturnBeforeTheLineEnd) {
    EXPECT_TRUE(pcpos::ParseLine("SALE\n"));
    const auto line = pcpos::ParseLine("SALE a=1;b=%D8%A7\r\n");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->value(QStringLiteral("a")), QStringLiteral("1"));
    EXPECT_EQ(line->value(QStringLiteral("b")), QStringLiteral("ا"));
}

TEST(PosProtocolLine, RejectsMalformedLines) {
    const QList<QByteArray> malformed = {
        "",           "sale a=1",        " a=1",          "SALE a",     "SALE =1",
        "SALE a=1;",  "SALE a=1;a=2",    "SALE a=%4",     "SALE a=%ZZ", "SALE a=b=c",
        "SALE a-b=1", "SALE a=\xff\xfe", "SALE a=1\nb=2", "SALE a=%FF", "SALE  a=1",
    };
    for (const QByteArray& bytes : malformed)
        EXPECT_FALSE(pcpos::ParseLine(bytes)) << bytes.toStdString();
}

pcpos::SaleRequest Sale() {
    pcpos::SaleRequest sale;
    sale.amountRials = 1234000;
    sale.invoiceId = 17;
    sale.attemptId = QStringLiteral("a-1");
    return sale;
}

QStringList Pairs(const ProtocolLine& line) {
    QStringList pairs;
    for (const auto& [key, value] : line.fields)
        pairs.append(key + u'=' + value);
    return pairs;
}

TEST(PosProtocolRequest, EachKindCarriesItsLibrarysValues) {
    const QStringList common = {"attempt=a-1", "invoice=17"};
    const pcpos::PosSettings reader{1, QStringLiteral("/dev/ttyS0"), 9600, {}, 0};
    const QStringList readerValues = {
        "connection=Serial", "port=/dev/ttyS0", "baud=9600", "timeout=180000", "data=8",
        "amount=1234000",    "text1=",          "text2="};
    EXPECT_EQ(Pairs(pcpos::SaleRequestLine(reader, Sale())),
              QStringList{"type=1"} + common + readerValues);

    const pcpos::PosSettings saderat{2, QStringLiteral("/dev/ttyS1"), 9600, {}, 0};
    EXPECT_EQ(Pairs(pcpos::SaleRequestLine(saderat, Sale())),
              QStringList{"type=2"} + common + QStringList{"amount=1234000"});

    const pcpos::PosSettings melli{3, QStringLiteral("COM1"), 9600, QStringLiteral("10.0.0.5"),
                                   8888};
    const QStringList melliValues = {"ip=10.0.0.5", "timeouts1=5000,4000,5000",
                                     "timeouts2=120000, 5000, 5000", "amount=1234000"};
    EXPECT_EQ(Pairs(pcpos::SaleRequestLine(melli, Sale())),
              QStringList{"type=3"} + common + melliValues);
    EXPECT_EQ(pcpos::SaleRequestLine(melli, Sale()).verb, pcpos::kSaleVerb);
}

TEST(PosProtocolRequest, AsanPardakhtUsesTheConfiguredPortElseTheLibrarys) {
    pcpos::PosSettings asan{4, QStringLiteral("COM1"), 9600, QStringLiteral("10.0.0.6"), 0};
    const QStringList expected = {"type=4",     "attempt=a-1",    "invoice=17",   "ip=10.0.0.6",
                                  "port=17000", "amount=1234000", "timeout=60000"};
    EXPECT_EQ(Pairs(pcpos::SaleRequestLine(asan, Sale())), expected);
    asan.ipPort = 17010;
    EXPECT_EQ(pcpos::SaleRequestLine(asan, Sale()).value(QStringLiteral("port")),
              QStringLiteral("17010"));
}

TEST(PosProtocolRequest, KeshavarziChoosesTheNetworkWhenItHasAnAddress) {
    pcpos::PosSettings lan{5, QStringLiteral("/dev/ttyS2"), 9600, QStringLiteral("10.0.0.7"), 9000};
    const ProtocolLine onLan = pcpos::SaleRequestLine(lan, Sale());
    EXPECT_EQ(onLan.value(QStringLiteral("SetLan")), QStringLiteral("10.0.0.7"));
    EXPECT_FALSE(onLan.has(QStringLiteral("SetCom")));
    EXPECT_EQ(onLan.value(QStringLiteral("Initialization")), QStringLiteral("10"));
    EXPECT_EQ(onLan.value(QStringLiteral("receipt")),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-16\"?><List><print><item>123</"
                             "item><value>a</value><alignment>0</alignment><receipttype>0</"
                             "receipttype></print><print><item>456</item><value>c</"
                             "value><alignment>1</alignment><receipttype>1</receipttype></"
                             "print></List>"));
    lan.ip.clear();
    const ProtocolLine onCom = pcpos::SaleRequestLine(lan, Sale());
    EXPECT_EQ(onCom.value(QStringLiteral("SetCom")), QStringLiteral("/dev/ttyS2"));
    EXPECT_FALSE(onCom.has(QStringLiteral("SetLan")));
    // The receipt's '=' survive the line.
    const auto parsed = pcpos::ParseLine(pcpos::SerializeLine(onLan));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->value(QStringLiteral("receipt")), pcpos::KeshavarziReceipt());
}

ProtocolLine Answer(int typeId, const QList<std::pair<QString, QString>>& set) {
    ProtocolLine line{pcpos::kResultVerb, {{QStringLiteral("attempt"), QStringLiteral("a-1")}}};
    for (const QString& name : pcpos::AnswerFieldNames(typeId)) {
        QString value;
        for (const auto& [k, v] : set)
            if (k == name) value = v;
        line.add(name, value);
    }
    return line;
}

TEST(PosProtocolAnswer, MelliNeedsAnApprovalCodeAndANumericZeroResponse) {
    EXPECT_EQ(
        pcpos::ResultFromAnswer(3, Answer(3, {{"ApprovalCode", "123456"}, {"ResponseCode", "00"}}))
            .outcome,
        Outcome::Approved);
    EXPECT_EQ(pcpos::ResultFromAnswer(3, Answer(3, {{"ApprovalCode", ""}, {"ResponseCode", "0"}}))
                  .outcome,
              Outcome::Refused);
    EXPECT_EQ(
        pcpos::ResultFromAnswer(3, Answer(3, {{"ApprovalCode", "123456"}, {"ResponseCode", ""}}))
            .outcome,
        Outcome::Refused);
    EXPECT_EQ(
        pcpos::ResultFromAnswer(3, Answer(3, {{"ApprovalCode", "123456"}, {"ResponseCode", "12"}}))
            .outcome,
        Outcome::Refused);
}

TEST(PosProtocolAnswer, AsanPardakhtRefusesAnAnswerWithAnErrorText) {
    const SaleResult withError = pcpos::ResultFromAnswer(
        4, Answer(4, {{"ResponseCode", "0"}, {"ErrorText", "خطا"}, {"ResponseText", "ناموفق"}}));
    EXPECT_EQ(withError.outcome, Outcome::Refused);
    EXPECT_EQ(withError.responseText, QStringLiteral("ناموفق"));
    const SaleResult clean = pcpos::ResultFromAnswer(
        4, Answer(4, {{"ResponseCode", "0"}, {"Pan", "603799******1234"}, {"Stan", "42"}}));
    EXPECT_EQ(clean.outcome, Outcome::Approved);
    EXPECT_EQ(clean.bin, QStringLiteral("603799"));
    EXPECT_EQ(clean.traceNumber, QStringLiteral("42"));
}

TEST(PosProtocolAnswer, SaderatFollowsItsSuccessFlagAndKeepsTheStatus) {
    const SaleResult failed =
        pcpos::ResultFromAnswer(2, Answer(2, {{"success", "0"}, {"status", "100"}}));
    EXPECT_EQ(failed.outcome, Outcome::Refused);
    EXPECT_EQ(failed.status, 100);
    EXPECT_EQ(pcpos::ResultFromAnswer(2, Answer(2, {{"success", "1"}, {"status", "0"}})).outcome,
              Outcome::Approved);
}

TEST(PosProtocolAnswer, AnAnswerLackingItsKindsFieldsOrNumbersIsMalformed) {
    ProtocolLine lacking = Answer(5, {{"ResponseCode", "0"}});
    lacking.fields.removeLast();
    EXPECT_EQ(pcpos::ResultFromAnswer(5, lacking).outcome, Outcome::Failed);
    EXPECT_FALSE(pcpos::ResultFromAnswer(5, lacking).errorText.isEmpty());
    EXPECT_EQ(pcpos::ResultFromAnswer(1, Answer(1, {{"status", "ok"}})).outcome, Outcome::Failed);
    EXPECT_EQ(
        pcpos::ResultFromAnswer(2, Answer(2, {{"success", "yes"}, {"status", "100"}})).outcome,
        Outcome::Failed);
    ProtocolLine wrongVerb = Answer(5, {{"ResponseCode", "0"}});
    wrongVerb.verb = QStringLiteral("SALE");
    EXPECT_EQ(pcpos::ResultFromAnswer(5, wrongVerb).outcome, Outcome::Failed);
}

}  // namespace
}  // namespace si::test

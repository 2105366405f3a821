// The loader's and the dialog's number rules, table by table.
#include "settings/number_rules.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

struct Case {
    const char* text;
    int expected;
};

TEST(LoaderNumber, RoundsDownAndFallsBackToZero) {
    const Case cases[] = {
        {"5", 5},           {"-5", -5},
        {"+7", 7},          {"  42  ", 42},
        {"\t3", 3},         {"2.9", 2},
        {"-2.5", -3},       {"12.7", 12},
        {"-0.1", -1},       {".5", 0},
        {"5.", 5},          {"1e2", 100},
        {"1.5E1", 15},      {"25e-1", 2},
        {"-1e-9", -1},      {"32767", 32767},
        {"32767.9", 32767}, {"-32768", -32768},
        {"32768", 0},       {"-32769", 0},
        {"-32768.5", 0},    {"99999999999999999999", 0},
        {"1e400", 0},       {"-1e400", 0},
        {"abc", 0},         {"12abc", 0},
        {"1 2", 0},         {"+", 0},
        {"-", 0},           {".", 0},
        {"e5", 0},          {"1e", 0},
        {"1e+", 0},         {"inf", 0},
        {"nan", 0},         {"0x10", 0},
        {"１２", 0},        {"--1", 0},
        {" ", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoaderNumber(c.text, 77), c.expected) << '"' << c.text << '"';
}

TEST(LoaderNumber, EmptyTextGivesTheKeysDefault) {
    EXPECT_EQ(LoaderNumber("", 10), 10);
    EXPECT_EQ(LoaderNumber("", 1), 1);
}

TEST(SavingNumber, RoundsHalvesToEvenAndKeepsTheOldValueOutOfRange) {
    const Case cases[] = {
        {"2.5", 2},      {"3.5", 4},    {"-2.5", -2},   {"-3.5", -4},       {"0.5", 0},
        {"1.5", 2},      {"2.4999", 2}, {"2.5001", 3},  {"12.7", 13},       {" 8 ", 8},
        {"1e1", 10},     {"abc", 0},    {"", 0},        {"32767.4", 32767}, {"-32768.4", -32768},
        {"32767.5", 55}, {"32768", 55}, {"-40000", 55}, {"1e400", 55},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SavingNumber(c.text, 55), c.expected) << '"' << c.text << '"';
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(1023.5), 1024);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
}

}  // namespace
}  // namespace kineloop

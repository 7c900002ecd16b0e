#include "filetime/DateTimeText.h"

#include <gtest/gtest.h>

#include "support/ZoneFixture.h"

namespace karvel {
namespace {

using testing::Local;

TEST(DateTimeText, EveryCode) {
    const SYSTEMTIME t = Local(2024, 3, 5, 14, 7, 9, 123);
    const std::pair<std::int16_t, const char*> cases[] = {
        {kDateTimeKanjiDate, "2024年3月5日 "},
        {kDateTimeKanjiDateKanjiTime, "2024年3月5日  14時7分9秒"},
        {kDateTimeKanjiDateColonTime, "2024年3月5日  14:7:9"},
        {kDateTimeSlashDate, "2024/3/5"},
        {kDateTimeSlashDateKanjiTime, "2024/3/5 14時7分9秒"},
        {kDateTimeSlashDateColonTime, "2024/3/5 14:7:9"},
        {kDateTimePaddedKanjiDate, "2024年03月05日 "},
        {kDateTimePaddedKanjiDateKanjiTime, "2024年03月05日  14時07分09秒"},
        {kDateTimePaddedKanjiDateColonTime, "2024年03月05日  14:07:09"},
        {kDateTimePaddedSlashDate, "2024/03/05"},
        {kDateTimePaddedSlashDateKanjiTime, "2024/03/05 14時07分09秒"},
        {kDateTimePaddedSlashDateColonTime, "2024/03/05 14:07:09"},
        {kDateTimeShortYearMinutes, "24/03/05 14:07"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(FormatDateTimeText(t, code), text) << code;
    // Ten characters: the kanji count one each.
    EXPECT_EQ(FormatDateTimeText(t, kDateTimeKanjiDate).size(), 7u + 3 * 3);
}

TEST(DateTimeText, OtherCodesGiveNothing) {
    const SYSTEMTIME t = Local(2024, 3, 5, 14, 7, 9);
    for (const int code : {0,   1,   2,   9,   13,  19,  23,  30,   100, 101,
                           102, 113, 123, 190, 199, 201, 210, 1010, -10, -200}) {
        EXPECT_EQ(FormatDateTimeText(t, static_cast<std::int16_t>(code)), "") << code;
    }
}

TEST(DateTimeText, Renderings) {
    const SYSTEMTIME midnight = Local(2000, 1, 1, 0, 0);
    EXPECT_EQ(FormatDateTimeText(midnight, kDateTimeShortYearMinutes), "00/01/01 00:00");
    EXPECT_EQ(FormatDateTimeText(midnight, kDateTimeSlashDateColonTime), "2000/1/1 0:0:0");
    EXPECT_EQ(FormatDateTimeText(midnight, kDateTimePaddedSlashDateColonTime),
              "2000/01/01 00:00:00");
    EXPECT_EQ(FormatDateTimeText(Local(2005, 13, 1, 0, 0), kDateTimeShortYearMinutes),
              "05/13/01 00:00");
    EXPECT_EQ(FormatDateTimeText(Local(7, 1, 1, 0, 0), kDateTimeShortYearMinutes),
              "07/01/01 00:00");
    EXPECT_EQ(FormatDateTimeText(Local(7, 13, 1, 0, 0), kDateTimeSlashDate), "7/13/1");
    EXPECT_EQ(FormatDateTimeText(Local(2024, 3, 5, 14, 7, 59, 999, 6), kDateTimeShortYearMinutes),
              "24/03/05 14:07");
}

}  // namespace
}  // namespace karvel
